// The scripted folder browser: a module of the tests (never installed) that
// OrvikAfx loads as it loads the GTK one, named by ORVIK_BROWSER_MODULE. It
// replays a user's moves and choice, and keeps what the library asked of it.
#ifndef ORVIK_TESTS_SCRIPTED_BROWSER_H
#define ORVIK_TESTS_SCRIPTED_BROWSER_H

#include <dlfcn.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "afx/folder_browser.h"

namespace orvik::test {

class ScriptedBrowser final : public afx::FolderBrowser {
public:
    static constexpr const char* kNoPath = "(no path)";  // a move to an item without one

    // The script.
    std::vector<std::string> moves;  // selections, each a Linux path or kNoPath
    Outcome outcome = Outcome::chosen;
    std::string choice;
    const char* unavailable = nullptr;  // the entry's reason for no browser

    // What the library did.
    int browses = 0;
    void* owner = nullptr;
    std::string title;
    std::vector<std::string> selected, statuses;

    Outcome Browse(void* ownerWindow, const char* shownTitle, afx::FolderDialogListener* listener,
                   std::string& chosenPath) override {
        ++browses;
        owner = ownerWindow;
        title = shownTitle;
        if (listener != nullptr) {
            listener->Opened(*this);
            for (const std::string& move : moves) {
                listener->SelectionMoved(*this, move == kNoPath ? nullptr : move.c_str());
            }
        }
        chosenPath = choice;
        return outcome;
    }
    void Select(const char* linuxPath) override { selected.emplace_back(linuxPath); }
    void ShowStatus(const char* text) override { statuses.emplace_back(text); }
};

// Makes the scripted browser the one that this process loads (before any
// other is loaded) and gives its script.
inline ScriptedBrowser& UseScriptedBrowser() {
    setenv("ORVIK_BROWSER_MODULE", ORVIK_SCRIPTED_BROWSER, 1);
    void* module = dlopen(ORVIK_SCRIPTED_BROWSER, RTLD_NOW | RTLD_LOCAL);
    const auto script =
        reinterpret_cast<ScriptedBrowser* (*)()>(dlsym(module, "OrvikScriptedBrowser"));
    return *script();
}

}  // namespace orvik::test

#endif  // ORVIK_TESTS_SCRIPTED_BROWSER_H
