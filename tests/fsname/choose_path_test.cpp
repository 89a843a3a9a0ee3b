// FILE_ChoosePath and its browse callback, against a scripted browser that
// replays selection moves and a final choice, with a counting allocator; and
// the shell operations under it that FILE_ChoosePath does not show: the
// display name, browser messages outside a browse and the allocator.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikShell.h"
#include "report_check.h"
#include "temp_dir.h"

namespace {

using orvik::test::HostPath;

// A selection or choice: a folder's path, an item without a file-system
// path, or nothing (a null item list; as the choice, a cancel).
const std::string kNoPath = "(network)", kNothing;

LPITEMIDLIST Make(const std::string& item) {
    if (item.empty()) {
        return nullptr;
    }
    return item == kNoPath ? orvik::shell::NewItemListWithoutPath("Network")
                           : orvik::shell::NewItemList(item.c_str());
}

// A folder whose path, as names are handed back (C:\ddd...), has `length`
// bytes; the browser itself deals in names on disk (/ddd...).
std::string PathOf(size_t length) {
    return "/" + std::string(length - 3, 'd');
}

// The browser, replaying selection moves and a final choice, and the shell's
// allocator, keeping what is live; while the callback runs it may refuse
// the callback's scratch buffer.
class FakeShell final : public orvik::shell::Browser, public IMalloc {
public:
    std::vector<std::string> moves, selected, statuses;
    std::string choice;
    BROWSEINFOA seen{};
    int browses = 0, releases = 0;
    bool inCallback = false, refuseScratch = false;
    std::set<void*> live;

    LPITEMIDLIST Browse(const BROWSEINFOA& info) override {
        ++browses;
        seen = info;
        if (info.lpfn != nullptr) {
            Notify(info, BFFM_INITIALIZED, nullptr);
            for (const std::string& move : moves) {
                Notify(info, BFFM_SELCHANGED, Make(move));
            }
            Notify(info, 3, Make("/other/notification"));  // BFFM_VALIDATEFAILEDA: ignored
        }
        return Make(choice);
    }
    void Select(HWND window, const char* path) override { selected.push_back(To(window, path)); }
    void ShowStatus(HWND window, const char* text) override {
        statuses.push_back(To(window, text));
    }
    LPVOID Alloc(SIZE_T size) override {
        return inCallback && refuseScratch ? nullptr : *live.insert(std::malloc(size)).first;
    }
    void Free(LPVOID block) override {
        live.erase(block);
        std::free(block);
    }
    ULONG Release() override {
        EXPECT_TRUE(live.empty()) << "the item list is freed before the allocator goes back";
        return static_cast<ULONG>(++releases);
    }

private:
    HWND Window() { return reinterpret_cast<HWND>(this); }
    std::string To(HWND window, const char* text) {
        return window == Window() ? text : "(elsewhere)";
    }
    void Notify(const BROWSEINFOA& info, UINT notification, LPITEMIDLIST item) {
        inCallback = true;
        EXPECT_EQ(info.lpfn(Window(), notification, reinterpret_cast<LPARAM>(item), info.lParam),
                  0);
        inCallback = false;
        CoTaskMemFree(item);
    }
};

class ChoosePath : public ::testing::Test {
protected:
    void SetUp() override {
        GEN_SetRetCode(orvik::test::kNoSuchCode);
        orvik::shell::InstallBrowserForTesting(&shell);
        orvik::shell::InstallAllocatorForTesting(&shell);
    }
    void TearDown() override {
        orvik::shell::InstallBrowserForTesting(nullptr);
        orvik::shell::InstallAllocatorForTesting(nullptr);
        AfxSetThread(nullptr);
        EXPECT_EQ(GEN_GetRetCode(), orvik::test::kNoSuchCode) << "the return code stays untouched";
        EXPECT_TRUE(shell.live.empty()) << "item lists and scratch buffers all released";
    }

    FakeShell shell;
    std::vector<char> path = std::vector<char>(MAX_PATH, 'x');  // exactly the room owed
};

// The chosen item list is freed, then the allocator given back; a cancel has
// none, and without the allocator it stays unreleased.
TEST_F(ChoosePath, ResultFollowsTheChoiceAndTheChoiceIsReleased) {
    EXPECT_EQ(FILE_ChoosePath(nullptr, "/srv", "Pick", nullptr), ORVIK_CHOOSE_NULL_PATH);
    EXPECT_EQ(shell.browses, 0) << "no browser for a null buffer";
    const std::tuple<std::string, int32_t, int, bool> rows[] = {
        // choice, result, releases
        {"/srv/data", 0, 1, true},
        {PathOf(MAX_PATH - 1), 0, 1, true},
        {PathOf(MAX_PATH), ORVIK_CHOOSE_NO_PATH, 1, true},
        {kNoPath, ORVIK_CHOOSE_NO_PATH, 1, true},
        {kNothing, ORVIK_CHOOSE_CANCELLED, 0, true},
        {"/srv/data", 0, 0, false}};
    for (const auto& [choice, result, releases, allocator] : rows) {
        orvik::shell::InstallAllocatorForTesting(&shell, allocator);
        shell.choice = choice;
        shell.releases = 0;
        EXPECT_EQ(FILE_ChoosePath(path.data(), nullptr, "Pick", nullptr), result) << choice;
        EXPECT_EQ(result == 0 ? path.data() : HostPath(choice), HostPath(choice))
            << "the chosen path";
        EXPECT_EQ(shell.releases, releases) << choice;
        EXPECT_EQ(shell.live.size(), allocator ? 0u : 1u) << choice;
    }
    shell.Free(shell.live.empty() ? nullptr : *shell.live.begin());  // the last row's list
}

// Only with an initial path is there a callback: it preselects that path and
// shows each selection that has a path in the status line, cut to 32 bytes
// and "..." past 35; without a scratch buffer it shows nothing.
TEST_F(ChoosePath, FillsTheRecordAndTheCallbackFollowsTheSelection) {
    const std::string exact = HostPath(PathOf(35)),
                      cut = HostPath(PathOf(36)).substr(0, 32) + "...";
    const std::string tmp = HostPath("/tmp");
    const std::vector<std::string> none,
        seven{PathOf(35),           kNoPath,          PathOf(36), kNothing,
              PathOf(MAX_PATH - 1), PathOf(MAX_PATH), "/tmp"};
    using Moves = std::vector<std::string>;
    const std::tuple<const char*, const char*, bool, Moves, Moves> rows[] = {
        // initial, title, scratch refused, moves, statuses
        {"/srv", "Pick", false, {"/tmp"}, {tmp}},
        {"/srv", nullptr, false, seven, {exact, cut, cut, tmp}},
        {"/srv", "Pick", true, {"/srv", "/tmp"}, none},
        {nullptr, "Pick", false, {"/srv", "/tmp"}, none}};
    shell.choice = "/tmp";
    for (const auto& [initial, title, refuseScratch, moves, statuses] : rows) {
        shell.moves = moves;
        shell.refuseScratch = refuseScratch;
        shell.selected.clear();
        shell.statuses.clear();
        ASSERT_EQ(FILE_ChoosePath(path.data(), initial, title, nullptr), 0);
        EXPECT_EQ(path.data(), tmp);
        EXPECT_EQ(shell.seen.pidlRoot, nullptr);
        EXPECT_EQ(shell.seen.pszDisplayName, path.data());
        EXPECT_STREQ(shell.seen.lpszTitle, title ? title : "Choose a Directory");
        EXPECT_EQ(shell.seen.ulFlags, 5u);
        EXPECT_EQ(shell.seen.lpfn != nullptr, initial != nullptr);
        EXPECT_EQ(shell.seen.lParam, reinterpret_cast<LPARAM>(initial));
        EXPECT_EQ(shell.selected, initial ? Moves{initial} : none);
        EXPECT_EQ(shell.statuses, statuses);
    }
}

TEST_F(ChoosePath, OwnerIsOwnWindowElseThreadMainWindowElseDesktop) {
    CWnd own, main, windowless;
    own.m_hWnd = reinterpret_cast<HWND>(0x1000);
    main.m_hWnd = reinterpret_cast<HWND>(0x2000);
    const HWND desktop = GetDesktopWindow();
    CWinThread thread;
    const std::tuple<CWnd*, bool, CWnd*, HWND> rows[] = {
        // owner, thread, main window: owner
        {&own, true, &main, own.m_hWnd},     {&windowless, true, &main, main.m_hWnd},
        {nullptr, true, &main, main.m_hWnd}, {&windowless, true, &windowless, desktop},
        {nullptr, true, nullptr, desktop},   {&windowless, false, nullptr, desktop}};
    shell.choice = "/srv";
    for (const auto& row : rows) {
        const auto& [owner, hasThread, mainWindow, expected] = row;
        thread.m_pMainWnd = mainWindow;
        AfxSetThread(hasThread ? &thread : nullptr);
        EXPECT_EQ(FILE_ChoosePath(path.data(), nullptr, nullptr, owner), 0);
        EXPECT_EQ(shell.seen.hwndOwner, expected) << "row " << (&row - rows);
    }
}

// From inside a browse, sends its own window each browser message, one of
// them twice, one other message, and one to no window; chooses `choice`.
class MessagingBrowser final : public orvik::shell::Browser {
public:
    std::string choice;
    std::string received;

    LPITEMIDLIST Browse(const BROWSEINFOA&) override {
        LPITEMIDLIST item = orvik::shell::NewItemList("/from/item");
        Send(BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>("\\TMP"));
        Send(BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(item));
        Send(BFFM_SETSTATUSTEXTA, TRUE, reinterpret_cast<LPARAM>("status"));
        Send(BFFM_SETSTATUSTEXTA + 1, TRUE, reinterpret_cast<LPARAM>("other"));
        Send(BFFM_SETSTATUSTEXTA, TRUE, 0);
        SendMessage(nullptr, BFFM_SETSTATUSTEXTA, TRUE, reinterpret_cast<LPARAM>("no window"));
        CoTaskMemFree(item);
        return orvik::shell::NewItemList(choice.c_str());
    }
    void Select(HWND, const char* path) override { received += " select " + std::string(path); }
    void ShowStatus(HWND, const char* text) override { received += " status " + std::string(text); }
    void Send(UINT message, WPARAM wParam, LPARAM lParam) {
        SendMessage(reinterpret_cast<HWND>(this), message, wParam, lParam);
    }
};

TEST(Shell, BrowseRoutesMessagesAndWritesTheDisplayName) {
    MessagingBrowser browser;
    orvik::shell::InstallBrowserForTesting(&browser);
    const std::pair<std::string, std::string> rows[] = {
        // clang-format off
        {"/srv/data", "data"}, {"/", "/"},  // choice, display name
        {"/" + std::string(400, 'n'), std::string(MAX_PATH - 1, 'n')},
        // clang-format on
    };
    for (const auto& [choice, displayName] : rows) {
        browser.choice = choice;
        browser.received.clear();
        char name[MAX_PATH];
        BROWSEINFO info{};
        info.pszDisplayName = name;
        LPITEMIDLIST chosen = SHBrowseForFolder(&info);
        EXPECT_EQ(chosen != nullptr ? name : "(none)", displayName);
        EXPECT_EQ(browser.received, " select /tmp select /from/item status status");
        CoTaskMemFree(chosen);
    }
    browser.received.clear();
    browser.Send(BFFM_SETSTATUSTEXTA, TRUE, reinterpret_cast<LPARAM>("late"));
    EXPECT_EQ(browser.received, "") << "no browse runs: nothing to send to";
    EXPECT_EQ(SHBrowseForFolder(nullptr), nullptr);
    orvik::shell::InstallBrowserForTesting(nullptr);
}

TEST(Shell, AllocatorAndDesktop) {
    IMalloc* allocator = nullptr;
    EXPECT_EQ(SHGetMalloc(nullptr), E_INVALIDARG);
    ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
    ASSERT_NE(allocator, nullptr);
    allocator->Free(allocator->Alloc(16));
    allocator->Release();

    orvik::shell::InstallAllocatorForTesting(nullptr, false);
    EXPECT_EQ(SHGetMalloc(&allocator), E_FAIL);
    EXPECT_EQ(allocator, nullptr);
    CoTaskMemFree(CoTaskMemAlloc(16));  // task memory goes on
    orvik::shell::InstallAllocatorForTesting(nullptr);

    EXPECT_NE(GetDesktopWindow(), nullptr);
    EXPECT_EQ(GetDesktopWindow(), GetDesktopWindow());
}

}  // namespace
