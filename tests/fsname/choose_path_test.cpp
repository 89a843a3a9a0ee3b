// FILE_ChoosePath against the scripted browser, which replays selection
// moves and a final choice; and what a host learns when no browser loads.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "report_check.h"
#include "scripted_browser.h"
#include "temp_dir.h"

namespace {

using orvik::test::HostPath;
using orvik::test::ScriptedBrowser;
using Outcome = ScriptedBrowser::Outcome;

// A folder whose path, as names are handed back (C:\ddd...), has `length`
// bytes; the browser itself deals in names on disk (/ddd...).
std::string PathOf(size_t length) {
    return "/" + std::string(length - 3, 'd');
}

// The return code stays untouched throughout.
class ChoosePath : public ::testing::Test {
protected:
    void SetUp() override {
        GEN_SetRetCode(orvik::test::kNoSuchCode);
        user.choice = "/tmp";
        user.outcome = Outcome::chosen;
    }
    void TearDown() override { EXPECT_EQ(GEN_GetRetCode(), orvik::test::kNoSuchCode); }

    ScriptedBrowser& user = orvik::test::UseScriptedBrowser();
    std::vector<char> path = std::vector<char>(MAX_PATH, 'x');  // exactly the room owed
};

// After -2 the buffer is untouched; after -3 it holds the empty text.
TEST_F(ChoosePath, ResultFollowsTheChoice) {
    EXPECT_EQ(FILE_ChoosePath(nullptr, "/srv", "Pick", nullptr), ORVIK_CHOOSE_NULL_PATH);
    EXPECT_EQ(user.browses, 0) << "no browser for a null buffer";
    const std::string untouched(MAX_PATH, 'x');
    const std::tuple<Outcome, std::string, int32_t, std::string> rows[] = {
        // outcome, choice, result, buffer after
        {Outcome::chosen, PathOf(MAX_PATH - 1), 0, HostPath(PathOf(MAX_PATH - 1))},
        {Outcome::chosen, PathOf(MAX_PATH), ORVIK_CHOOSE_NO_PATH, ""},
        {Outcome::chosen, "relative", ORVIK_CHOOSE_NO_PATH, ""},
        {Outcome::noPath, "", ORVIK_CHOOSE_NO_PATH, ""},
        {Outcome::cancelled, "/srv/data", ORVIK_CHOOSE_CANCELLED, untouched},
    };
    for (const auto& [outcome, choice, result, after] : rows) {
        path.assign(MAX_PATH, 'x');
        user.outcome = outcome;
        user.choice = choice;
        EXPECT_EQ(FILE_ChoosePath(path.data(), nullptr, "Pick", nullptr), result) << choice;
        const bool cancelled = result == ORVIK_CHOOSE_CANCELLED;
        EXPECT_EQ(std::string(path.data(), cancelled ? MAX_PATH : strlen(path.data())), after);
    }
}

// Only with an initial name does the dialog listen: it preselects that
// name's folder and shows each selection that has a path in the status
// line, cut to 32 bytes and "..." past 35.
TEST_F(ChoosePath, PreselectsAndTheStatusLineFollowsTheSelection) {
    const std::string exact = HostPath(PathOf(35)),
                      cut = HostPath(PathOf(36)).substr(0, 32) + "...";
    using Texts = std::vector<std::string>;
    // clang-format off
    const Texts none, seven{PathOf(35), ScriptedBrowser::kNoPath, PathOf(36), PathOf(MAX_PATH - 1), PathOf(MAX_PATH), "relative", "/tmp"};
    const std::tuple<const char*, const char*, Texts, Texts, Texts> rows[] = {
        // initial, title, moves, selected, statuses
        {"C:\\TMP\\", nullptr, seven, {"/tmp"}, {exact, cut, cut, HostPath("/tmp")}},
        {nullptr, "Pick", {"/srv", "/tmp"}, none, none},
    };
    // clang-format on
    for (const auto& [initial, title, moves, selected, statuses] : rows) {
        user.moves = moves;
        user.selected.clear();
        user.statuses.clear();
        ASSERT_EQ(FILE_ChoosePath(path.data(), initial, title, nullptr), 0);
        EXPECT_EQ(path.data(), HostPath("/tmp"));
        EXPECT_EQ(user.title, title ? title : "Choose a Directory");
        EXPECT_EQ(user.selected, selected);
        EXPECT_EQ(user.statuses, statuses);
    }
}

TEST_F(ChoosePath, OwnerIsOwnWindowElseThreadMainWindowElseNone) {
    CWnd own, main, windowless;
    own.m_hWnd = reinterpret_cast<HWND>(0x1000);
    main.m_hWnd = reinterpret_cast<HWND>(0x2000);
    CWinThread thread;
    const std::tuple<CWnd*, bool, CWnd*, HWND> rows[] = {
        // owner, thread, main window: owner
        {&own, true, &main, own.m_hWnd},          // its own window
        {&windowless, true, &main, main.m_hWnd},  // a window object without one
        {nullptr, true, &main, main.m_hWnd},      // no owner object
        {&windowless, false, nullptr, nullptr},   // no thread object
    };
    for (const auto& [owner, hasThread, mainWindow, expected] : rows) {
        thread.m_pMainWnd = mainWindow;
        AfxSetThread(hasThread ? &thread : nullptr);
        EXPECT_EQ(FILE_ChoosePath(path.data(), nullptr, nullptr, owner), 0);
        EXPECT_EQ(user.owner, expected);
    }
    AfxSetThread(nullptr);
}

// With `module` as ORVIK_BROWSER_MODULE (the scripted one giving no browser
// for `unavailable`): a browse is a cancel at once, and the status is
// `status` with `text` in its text, cut to fit a small buffer. 0 when so.
int BrowseWithout(const char* module, const char* unavailable, int status,
                  const std::string& text) {
    alarm(30);
    orvik::test::UseScriptedBrowser().unavailable = unavailable;
    setenv("ORVIK_BROWSER_MODULE", module, 1);
    char path[MAX_PATH] = "untouched", why[200] = "", tiny[4] = "xxx";
    const bool ok = FILE_ChoosePath(path, "/", "Unseen", nullptr) == ORVIK_CHOOSE_CANCELLED &&
                    std::string(path) == "untouched" &&
                    AfxFolderBrowserStatus(why, sizeof why) == status &&
                    std::string(why).find(text) != std::string::npos &&
                    AfxFolderBrowserStatus(tiny, sizeof tiny) == status &&
                    std::string(tiny) == std::string(why).substr(0, 3) &&
                    AfxFolderBrowserStatus(nullptr, 0) == status;
    return ok ? 0 : 1;
}

// Each case in a fresh process, since a module once loaded stays.
TEST(FolderBrowserStatus, SaysWhyNoDialogWasShown) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string notAModule = ::testing::TempDir() + "not_a_module.so";
    ASSERT_EQ(std::system(("echo text > " + notAModule).c_str()), 0);
    const std::tuple<const char*, const char*, int, std::string> rows[] = {
        // ORVIK_BROWSER_MODULE, the module's reason, status, in its text
        {"/nonexistent/libOrvikAfxGtk.so", nullptr, AFX_BROWSER_NOT_FOUND, "/nonexistent/"},
        {notAModule.c_str(), nullptr, AFX_BROWSER_NOT_LOADED, "not_a_module.so"},
        {ORVIK_SCRIPTED_BROWSER, "no display", AFX_BROWSER_NO_DIALOG, "no display"},
    };
    for (const auto& [module, unavailable, status, text] : rows) {
        EXPECT_EXIT(_exit(BrowseWithout(module, unavailable, status, text)),
                    ::testing::ExitedWithCode(0), "")
            << module;
    }
}

}  // namespace
