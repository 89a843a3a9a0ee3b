// The desktop's browser module, when it cannot be loaded: no browser, and a
// browse ends at once as a cancel. CTest runs each test in a process of its
// own, so the module is looked for here for the first time.
#include <gtest/gtest.h>

#include <cstdlib>

#include "OrvikShell.h"

TEST(BrowserModule, NoModuleWhereTheEnvironmentSaysMeansNoBrowser) {
    ::setenv("ORVIK_BROWSER_MODULE", "/nonexistent/libOrvikAfxGtk.so", 1);
    EXPECT_EQ(orvik::shell::DefaultBrowser(), nullptr);
    char name[MAX_PATH] = "untouched";
    BROWSEINFO info{};
    info.pszDisplayName = name;
    EXPECT_EQ(SHBrowseForFolder(&info), nullptr);
    EXPECT_STREQ(name, "untouched");
    LPITEMIDLIST empty = orvik::shell::NewItemList(nullptr);
    EXPECT_EQ(SHGetPathFromIDList(empty, name), FALSE) << "a null path is no path";
    CoTaskMemFree(empty);
    ::unsetenv("ORVIK_BROWSER_MODULE");
}

// A browser that selects and chooses an item with no file-system path.
class NoPathChooser final : public orvik::shell::Browser {
public:
    int selected = 0;
    LPITEMIDLIST Browse(const BROWSEINFOA&) override {
        LPITEMIDLIST item = orvik::shell::NewItemListWithoutPath("Network");
        SendMessage(reinterpret_cast<HWND>(this), BFFM_SETSELECTIONA, FALSE,
                    reinterpret_cast<LPARAM>(item));
        return item;
    }
    void Select(HWND, const char*) override { ++selected; }
    void ShowStatus(HWND, const char*) override {}
};

TEST(BrowserModule, AnItemWithoutAPathIsShownByItsNameAndNeverSelected) {
    NoPathChooser browser;
    orvik::shell::InstallBrowserForTesting(&browser);
    char name[MAX_PATH] = "";
    BROWSEINFO info{};
    for (char* display : {name, static_cast<char*>(nullptr)}) {
        info.pszDisplayName = display;
        CoTaskMemFree(SHBrowseForFolder(&info));
    }
    EXPECT_STREQ(name, "Network");
    EXPECT_EQ(browser.selected, 0);
    orvik::shell::InstallBrowserForTesting(nullptr);
}
