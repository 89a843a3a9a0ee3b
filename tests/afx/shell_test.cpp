// The shell operations under the folder chooser that FILE_ChoosePath does
// not show: the display name, browser messages outside a browse and the
// allocator. Item lists and their paths are checked through FILE_ChoosePath.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "OrvikShell.h"

namespace {

using orvik::shell::NewItemList;

// From inside a browse, sends its own window each browser message, one of
// them twice, one other message, and one to no window; chooses `choice`.
class MessagingBrowser final : public orvik::shell::Browser {
public:
    std::string choice;
    std::string received;

    LPITEMIDLIST Browse(const BROWSEINFOA&) override {
        LPITEMIDLIST item = NewItemList("/from/item");
        Send(BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>("/from/text"));
        Send(BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(item));
        Send(BFFM_SETSTATUSTEXTA, TRUE, reinterpret_cast<LPARAM>("status"));
        Send(BFFM_SETSTATUSTEXTA + 1, TRUE, reinterpret_cast<LPARAM>("other"));
        Send(BFFM_SETSTATUSTEXTA, TRUE, 0);
        SendMessage(nullptr, BFFM_SETSTATUSTEXTA, TRUE, reinterpret_cast<LPARAM>("no window"));
        CoTaskMemFree(item);
        return NewItemList(choice.c_str());
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
        EXPECT_EQ(browser.received, " select /from/text select /from/item status status");
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
