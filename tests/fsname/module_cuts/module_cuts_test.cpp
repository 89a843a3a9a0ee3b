// FILE_GetModulePathName's cuts on executable names chosen by the test. This
// program compiles the function's own source against the stand-in below
// for the platform classes' AfxGetModuleFileName, and against nothing else
// of the platform classes: that it links at all shows that the function asks
// the platform for the executable's name and for nothing more.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "OrvikFILE_Lib.h"

namespace {

struct Query {
    bool available = true;
    std::string name;
    uint32_t askedSize = 0;
    int calls = 0;
} g_query;

}  // namespace

// As the platform's: the name with its zero when it fits, else 0.
DWORD AfxGetModuleFileName(LPTSTR buffer, DWORD size) {
    ++g_query.calls;
    g_query.askedSize = size;
    if (!g_query.available || g_query.name.size() >= size) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, g_query.name.c_str(), g_query.name.size() + 1);
    return static_cast<uint32_t>(g_query.name.size());
}

namespace {

// In a buffer of exactly 259 bytes, alone in its heap block, so that a
// write past them stops the test under AddressSanitizer.
TEST(ModuleCuts, TheDirectoryAboveTheExecutablesDirectory) {
    const std::string deep = "\\" + std::string(253, 'd');
    const std::tuple<std::string, std::string, int32_t, bool> rows[] = {
        // executable, directory, result, whether the platform gives a name
        // clang-format off
        {"C:\\Apps\\Tool\\Bin\\tool.exe", "C:\\Apps\\Tool", 12, true},
        {"C:\\Tool\\tool.exe", "C:", 2, true}, {"C:\\tool.exe", "", -3, true},
        {"tool", "", -3, true}, {"\\opt\\tool\\bin\\tool", "\\opt\\tool", 9, true},
        {"\\opt\\tool\\bin\\tool", "", -2, false},  // no name from the platform
        {"\\bin\\tool", "", 0, true},  // the root: an empty directory text
        {"a/b\\c/d", "", -3, true},  // a forward slash separates nothing
        {"C:\\a\\\\b", "C:\\a", 4, true},  // each cut takes the last backslash
        {deep + "\\b\\t", deep, 254, true},  // 258 bytes fit
        {deep + "\\b\\to", "", -2, true},  // 259 do not
        // clang-format on
    };
    for (const auto& [executable, directory, result, available] : rows) {
        g_query = Query{available, executable};
        std::vector<char> buffer(259, '#');
        EXPECT_EQ(FILE_GetModulePathName(buffer.data()), result) << executable;
        EXPECT_EQ(buffer.data(), directory) << executable;
        EXPECT_EQ(g_query.askedSize, 259u) << "the name must end within 259 bytes";
    }
    g_query = Query{true, "\\opt\\tool\\bin\\tool"};
    EXPECT_EQ(FILE_GetModulePathName(nullptr), -1);
    EXPECT_EQ(g_query.calls, 0) << "a null buffer asks nothing";
}

}  // namespace
