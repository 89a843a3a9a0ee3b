// FILE_ChoosePath and its browse callback, against a scripted browser that
// replays selection moves and a final choice, with a counting allocator.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikShell.h"

namespace {

constexpr SIZE_T kScratchSize = MAX_PATH + 1;

// The heap, with count kept; the blocks of MAX_PATH + 1 bytes taken while
// the browse callback runs are its scratch buffers.
class CountingAllocator final : public IMalloc {
public:
    LPVOID Alloc(SIZE_T size) override {
        const bool forScratch = inCallback && size == kScratchSize;
        if (forScratch && refuseScratch) {
            return nullptr;
        }
        void* block = std::malloc(size);
        live.insert(block);
        if (forScratch) {
            scratch.insert(block);
            ++scratchAllocs;
        }
        return block;
    }
    void Free(LPVOID block) override {
        live.erase(block);
        scratchFrees += static_cast<int>(scratch.erase(block));
        std::free(block);
    }
    ULONG Release() override {
        liveAtRelease = live.size();
        return static_cast<ULONG>(++releases);
    }

    bool inCallback = false, refuseScratch = false;
    std::set<void*> live, scratch;
    int scratchAllocs = 0, scratchFrees = 0, releases = 0;
    size_t liveAtRelease = 0;
};

// Where the selection goes: a folder, an item with no file-system path, or
// nothing (a null item list). As the final choice, nothing is a cancel.
struct Item {
    enum Kind { folder, noPath, nothing } kind;
    std::string text;
};
Item Folder(const std::string& path) {
    return {Item::folder, path};
}
const Item kNoPath{Item::noPath, "Network"};
const Item kNothing{Item::nothing, ""};

LPITEMIDLIST Make(const Item& item) {
    switch (item.kind) {
        case Item::folder:
            return orvik::shell::NewItemList(item.text.c_str());
        case Item::noPath:
            return orvik::shell::NewItemListWithoutPath(item.text.c_str());
        default:
            return nullptr;
    }
}

class ScriptedBrowser final : public orvik::shell::Browser {
public:
    explicit ScriptedBrowser(CountingAllocator& allocator) : m_allocator(allocator) {}

    std::vector<Item> moves;  // the selection moves, in order
    Item choice = kNothing;

    int browses = 0;
    BROWSEINFOA seen{};
    std::string title;
    std::vector<std::string> selected, statuses;
    std::vector<int> callbackResults;

    LPITEMIDLIST Browse(const BROWSEINFOA& info) override {
        ++browses;
        seen = info;
        title = info.lpszTitle != nullptr ? info.lpszTitle : "(null)";
        if (info.lpfn != nullptr) {
            Notify(info, BFFM_INITIALIZED, nullptr);
            for (const Item& move : moves) {
                Notify(info, BFFM_SELCHANGED, Make(move));
            }
            Notify(info, 3, Make(Folder("/other/notification")));  // BFFM_VALIDATEFAILEDA
        }
        return Make(choice);
    }
    void Select(HWND window, const char* path) override {
        selected.push_back(window == Window() ? path : "(another window)");
    }
    void ShowStatus(HWND window, const char* text) override {
        statuses.push_back(window == Window() ? text : "(another window)");
    }

private:
    HWND Window() { return reinterpret_cast<HWND>(this); }
    void Notify(const BROWSEINFOA& info, UINT notification, LPITEMIDLIST item) {
        m_allocator.inCallback = true;
        callbackResults.push_back(
            info.lpfn(Window(), notification, reinterpret_cast<LPARAM>(item), info.lParam));
        m_allocator.inCallback = false;
        CoTaskMemFree(item);
    }

    CountingAllocator& m_allocator;
};

class ChoosePath : public ::testing::Test {
protected:
    void SetUp() override {
        GEN_SetRetCode(77);  // a code that no function hands
        orvik::shell::InstallBrowserForTesting(&browser);
        orvik::shell::InstallAllocatorForTesting(&allocator);
        std::memset(path, 'x', sizeof path);
    }
    void TearDown() override {
        orvik::shell::InstallBrowserForTesting(nullptr);
        orvik::shell::InstallAllocatorForTesting(nullptr);
        AfxSetThread(nullptr);
        EXPECT_EQ(GEN_GetRetCode(), 77) << "the return code stays untouched";
        EXPECT_EQ(allocator.scratchFrees, allocator.scratchAllocs) << "every scratch buffer freed";
        for (int result : browser.callbackResults) {
            EXPECT_EQ(result, 0);
        }
    }

    CountingAllocator allocator;
    ScriptedBrowser browser{allocator};
    char path[MAX_PATH];
};

// The form in which the platform hands `native` back to a host.
std::string HostForm(const std::string& native) {
    LPITEMIDLIST item = orvik::shell::NewItemList(native.c_str());
    char path[MAX_PATH];
    SHGetPathFromIDList(item, path);
    CoTaskMemFree(item);
    return path;
}

// A folder whose path, as handed back to a host, has exactly `length` bytes
// (or, from MAX_PATH on, whose own path has).
std::string PathOf(size_t length) {
    for (size_t fill = 1; length < MAX_PATH && fill < length; ++fill) {
        const std::string native = "/home/" + std::string(fill, 'd');
        if (HostForm(native).size() == length) {
            return native;
        }
    }
    return "/home/" + std::string(length - 6, 'd');
}

TEST_F(ChoosePath, NullPathBufferShowsNoBrowser) {
    EXPECT_EQ(FILE_ChoosePath(nullptr, "/srv", "Pick", nullptr), -1);
    EXPECT_EQ(browser.browses, 0);
}

TEST_F(ChoosePath, ChosenFolderComesBackAndIsReleased) {
    browser.choice = Folder("/srv/data");
    const std::string initialText = HostForm("/srv");
    const char* initial = initialText.c_str();
    const char* title = "Pick a folder";
    ASSERT_EQ(FILE_ChoosePath(path, initial, title, nullptr), 0);
    EXPECT_EQ(std::string(path), HostForm("/srv/data"));

    EXPECT_EQ(browser.browses, 1);
    EXPECT_EQ(browser.seen.ulFlags, 5u);
    EXPECT_EQ(browser.seen.pidlRoot, nullptr);
    EXPECT_EQ(browser.seen.pszDisplayName, path);
    EXPECT_EQ(browser.seen.lpszTitle, title);
    EXPECT_NE(browser.seen.lpfn, nullptr);
    EXPECT_EQ(browser.seen.lParam, reinterpret_cast<LPARAM>(initial));
    EXPECT_EQ(browser.selected, std::vector<std::string>{"/srv"}) << "preselected once opened";

    EXPECT_TRUE(allocator.live.empty()) << "the item list is released";
    EXPECT_EQ(allocator.releases, 1);
    EXPECT_EQ(allocator.liveAtRelease, 0u) << "freed before the allocator is released";
}

TEST_F(ChoosePath, NullTitleShowsTheDefault) {
    browser.choice = Folder("/srv");
    EXPECT_EQ(FILE_ChoosePath(path, "/srv", nullptr, nullptr), 0);
    EXPECT_EQ(browser.title, "Choose a Directory");
}

TEST_F(ChoosePath, WithoutInitialPathThereIsNoCallback) {
    browser.moves = {Folder("/srv"), Folder("/tmp")};
    browser.choice = Folder("/tmp");
    EXPECT_EQ(FILE_ChoosePath(path, nullptr, "Pick", nullptr), 0);
    EXPECT_EQ(browser.seen.lpfn, nullptr);
    EXPECT_EQ(browser.seen.lParam, 0);
    EXPECT_TRUE(browser.selected.empty());
    EXPECT_TRUE(browser.statuses.empty());
    EXPECT_EQ(std::string(path), HostForm("/tmp"));
}

TEST_F(ChoosePath, OwnerIsOwnWindowElseThreadMainWindowElseDesktop) {
    const HWND own = reinterpret_cast<HWND>(0x1000);
    const HWND main = reinterpret_cast<HWND>(0x2000);
    const HWND desktop = GetDesktopWindow();
    ASSERT_NE(desktop, nullptr);
    const struct {
        HWND ownHandle, mainHandle, expected;
        bool hasOwner, hasThread, hasMain;
    } rows[] = {
        {own, main, own, true, true, true},
        {nullptr, main, main, true, true, true},
        {nullptr, main, main, false, true, true},
        {nullptr, nullptr, desktop, true, true, true},
        {nullptr, nullptr, desktop, false, true, false},
        {nullptr, nullptr, desktop, true, false, false},
    };
    browser.choice = Folder("/srv");
    for (const auto& row : rows) {
        CWnd owner, mainWindow;
        CWinThread thread;
        owner.m_hWnd = row.ownHandle;
        mainWindow.m_hWnd = row.mainHandle;
        thread.m_pMainWnd = row.hasMain ? &mainWindow : nullptr;
        AfxSetThread(row.hasThread ? &thread : nullptr);
        EXPECT_EQ(FILE_ChoosePath(path, nullptr, nullptr, row.hasOwner ? &owner : nullptr), 0);
        EXPECT_EQ(browser.seen.hwndOwner, row.expected) << "row " << (&row - rows);
        AfxSetThread(nullptr);
    }
}

TEST_F(ChoosePath, StatusLineFollowsTheSelectionCutTo35Bytes) {
    const std::string exact = PathOf(35), over = PathOf(36), tooLong = PathOf(300);
    browser.moves = {Folder(exact), kNoPath,         Folder(over),
                     kNothing,      Folder(tooLong), Folder("/srv")};
    browser.choice = Folder("/srv");
    ASSERT_EQ(FILE_ChoosePath(path, "/srv", "Pick", nullptr), 0);
    EXPECT_EQ(browser.statuses,
              (std::vector<std::string>{HostForm(exact), HostForm(over).substr(0, 32) + "...",
                                        HostForm("/srv")}))
        << "items without a path that fits leave the line; a null item list is ignored";
    EXPECT_EQ(browser.statuses[1].size(), 35u);
    EXPECT_EQ(allocator.scratchAllocs, 5) << "one scratch buffer per non-null selection";
}

TEST_F(ChoosePath, ScratchBufferRefusedLeavesTheStatusLineAlone) {
    allocator.refuseScratch = true;
    browser.moves = {Folder("/srv"), Folder("/tmp")};
    browser.choice = Folder("/tmp");
    EXPECT_EQ(FILE_ChoosePath(path, "/srv", "Pick", nullptr), 0);
    EXPECT_TRUE(browser.statuses.empty());
    EXPECT_EQ(browser.selected.size(), 1u);
    EXPECT_EQ(std::string(path), HostForm("/tmp"));
}

TEST_F(ChoosePath, ChoiceWithoutFileSystemPathGivesMinus3) {
    for (const Item& choice : {kNoPath, Folder(PathOf(MAX_PATH))}) {
        browser.choice = choice;
        EXPECT_EQ(FILE_ChoosePath(path, nullptr, "Pick", nullptr), -3) << choice.text;
    }
    EXPECT_TRUE(allocator.live.empty()) << "the item list is released on -3 too";
    EXPECT_EQ(allocator.releases, 2);
}

TEST_F(ChoosePath, LongestPathThatFitsComesBackWhole) {
    const std::string longest = PathOf(MAX_PATH - 1);
    browser.choice = Folder(longest);
    EXPECT_EQ(FILE_ChoosePath(path, nullptr, "Pick", nullptr), 0);
    EXPECT_EQ(std::string(path), HostForm(longest));
}

TEST_F(ChoosePath, CancelGivesMinus2AndReleasesNothing) {
    browser.moves = {Folder("/srv")};
    EXPECT_EQ(FILE_ChoosePath(path, "/srv", "Pick", nullptr), -2);
    EXPECT_EQ(allocator.releases, 0);
    EXPECT_TRUE(allocator.live.empty());
}

TEST_F(ChoosePath, AllocatorRefusedLeavesItemListAndKeepsTheChoice) {
    orvik::shell::InstallAllocatorForTesting(&allocator, false);
    browser.choice = Folder("/srv/data");
    EXPECT_EQ(FILE_ChoosePath(path, nullptr, "Pick", nullptr), 0);
    EXPECT_EQ(std::string(path), HostForm("/srv/data"));
    EXPECT_EQ(allocator.releases, 0);
    ASSERT_EQ(allocator.live.size(), 1u) << "the item list stays unreleased";
    allocator.Free(*allocator.live.begin());
}

}  // namespace
