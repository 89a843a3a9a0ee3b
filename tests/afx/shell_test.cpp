// The shell operations under the folder chooser: item lists, the display
// name, browser messages and the allocator.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OrvikShell.h"

namespace {

TEST(Shell, PathFromItemListGivesOnlyFileSystemPathsThatFit) {
    const std::string fits(MAX_PATH - 1, 'p'), tooLong(MAX_PATH, 'p');
    const struct {
        LPITEMIDLIST item;
        BOOL converted;
        std::string path;
    } rows[] = {
        {orvik::shell::NewItemList("/srv/data"), TRUE, "C:\\srv\\data"},  // as handed back
        {orvik::shell::NewItemList(fits.c_str()), TRUE, fits},
        {orvik::shell::NewItemList(tooLong.c_str()), FALSE, ""},
        {orvik::shell::NewItemList(""), FALSE, ""},
        {orvik::shell::NewItemListWithoutPath("Network"), FALSE, ""},
        {nullptr, FALSE, ""},
    };
    for (const auto& row : rows) {
        char path[MAX_PATH];
        path[0] = 'x';
        EXPECT_EQ(SHGetPathFromIDList(row.item, path), row.converted) << row.path;
        EXPECT_EQ(std::string(path), row.path);
        CoTaskMemFree(row.item);
    }
    EXPECT_EQ(SHGetPathFromIDList(rows[0].item, nullptr), FALSE);
}

// Sends the browser messages to its own window from inside a browse, and
// chooses `choice`.
class MessagingBrowser final : public orvik::shell::Browser {
public:
    std::string choice;
    std::vector<std::string> received;

    LPITEMIDLIST Browse(const BROWSEINFOA&) override {
        LPITEMIDLIST item = orvik::shell::NewItemList("/from/item");
        SendMessage(Window(), BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>("/from/text"));
        SendMessage(Window(), BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(item));
        SendMessage(Window(), BFFM_SETSTATUSTEXTA, TRUE, reinterpret_cast<LPARAM>("status"));
        SendMessage(Window(), BFFM_SETSTATUSTEXTA + 1, TRUE, reinterpret_cast<LPARAM>("other"));
        SendMessage(Window(), BFFM_SETSTATUSTEXTA, TRUE, 0);
        SendMessage(nullptr, BFFM_SETSTATUSTEXTA, TRUE, reinterpret_cast<LPARAM>("no window"));
        CoTaskMemFree(item);
        return orvik::shell::NewItemList(choice.c_str());
    }
    void Select(HWND, const char* path) override {
        received.push_back("select " + std::string(path));
    }
    void ShowStatus(HWND, const char* text) override {
        received.push_back("status " + std::string(text));
    }
    HWND Window() { return reinterpret_cast<HWND>(this); }
};

TEST(Shell, BrowseRoutesMessagesAndWritesTheDisplayName) {
    MessagingBrowser browser;
    orvik::shell::InstallBrowserForTesting(&browser);
    const struct {
        std::string choice, displayName;
    } rows[] = {{"/srv/data", "data"},
                {"/", "/"},
                {"/" + std::string(400, 'n'), std::string(MAX_PATH - 1, 'n')}};
    for (const auto& row : rows) {
        browser.choice = row.choice;
        browser.received.clear();
        char name[MAX_PATH];
        BROWSEINFO info{};
        info.pszDisplayName = name;
        LPITEMIDLIST chosen = SHBrowseForFolder(&info);
        ASSERT_NE(chosen, nullptr);
        EXPECT_EQ(std::string(name), row.displayName);
        EXPECT_EQ(
            browser.received,
            (std::vector<std::string>{"select /from/text", "select /from/item", "status status"}));
        CoTaskMemFree(chosen);
    }
    browser.received.clear();
    SendMessage(browser.Window(), BFFM_SETSTATUSTEXTA, TRUE, reinterpret_cast<LPARAM>("late"));
    EXPECT_TRUE(browser.received.empty()) << "no browse runs: nothing to send to";
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
