// FILE_GetModulePathName's cuts on executable names chosen by the test. This
// program compiles the function's own source against the stand-in below
// for the platform query, and against nothing else of the platform layer:
// that it links at all shows that the function asks the platform for the
// executable's name and for nothing more.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "OrvikFILE_Lib.h"
#include "platform/platform.h"

namespace {

struct Query {
    bool available = true;
    std::string name;
    uint32_t askedSize = 0;
    int calls = 0;
} g_query;

}  // namespace

// As the platform's: the name with its zero when it fits, else 0.
uint32_t orvik::platform::ExecutableName(char* buffer, uint32_t size) {
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

constexpr size_t kBuffer = 259;

struct Row {
    std::string executable;
    std::string directory;
    int32_t result;
};

void ExpectCut(const Row& row, bool available = true) {
    g_query = Query{available, row.executable};
    char buffer[kBuffer + 16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(FILE_GetModulePathName(buffer), row.result) << row.executable;
    EXPECT_EQ(std::string(buffer), row.directory) << row.executable;
    EXPECT_EQ(g_query.askedSize, kBuffer) << "the name must end within 259 bytes";
    EXPECT_EQ(buffer[kBuffer], '#') << "wrote past the 259 bytes";
}

TEST(ModuleCuts, TheDirectoryAboveTheExecutablesDirectory) {
    const Row rows[] = {
        {"C:\\Apps\\Tool\\Bin\\tool.exe", "C:\\Apps\\Tool", 12},
        {"C:\\Tool\\tool.exe", "C:", 2},
        {"C:\\tool.exe", "", -3},
        {"tool", "", -3},
        {"\\opt\\tool\\bin\\tool", "\\opt\\tool", 9},
        {"\\bin\\tool", "", 0},  // the root: an empty directory text
        {"a/b\\c/d", "", -3},    // a forward slash separates nothing
        {"\\\\srv\\share\\bin\\t.exe", "\\\\srv\\share", 11},
        {"C:\\a\\\\b", "C:\\a", 4},  // each cut takes the last backslash
        {"\\" + std::string(253, 'd') + "\\b\\t", "\\" + std::string(253, 'd'), 254},
    };
    for (const Row& row : rows) {
        ExpectCut(row);
    }
}

TEST(ModuleCuts, NoNameGivesAnEmptyText) {
    ExpectCut({"\\opt\\tool\\bin\\tool", "", -2}, false);
    ExpectCut({"\\" + std::string(253, 'd') + "\\b\\to", "", -2});  // 259 bytes with its zero
}

TEST(ModuleCuts, NullBufferAsksNothing) {
    g_query = Query{true, "\\opt\\tool\\bin\\tool"};
    EXPECT_EQ(FILE_GetModulePathName(nullptr), -1);
    EXPECT_EQ(g_query.calls, 0);
}

}  // namespace
