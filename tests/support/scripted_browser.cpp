// The scripted browser's module: the entry that OrvikAfx calls, and the
// script for the tests.
#include "scripted_browser.h"

namespace {
orvik::test::ScriptedBrowser g_browser;
}

extern "C" __attribute__((visibility("default"))) orvik::afx::FolderBrowser* OrvikFolderBrowser1(
    const char** why) {
    *why = g_browser.unavailable;
    return g_browser.unavailable == nullptr ? &g_browser : nullptr;
}

extern "C" __attribute__((visibility("default"))) orvik::test::ScriptedBrowser*
OrvikScriptedBrowser() {
    return &g_browser;
}
