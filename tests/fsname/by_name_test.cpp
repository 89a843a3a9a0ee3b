// The functions that take a name: none but FILE_Remove4Name sets the code.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "OrvikFILE_Lib.h"
#include "report_check.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using orvik::test::kNoSuchCode;

class ByName : public ::testing::Test {
protected:
    void SetUp() override { GEN_SetRetCode(kNoSuchCode); }
    orvik::test::TempDir dir;
    const std::string file = dir.Write("f.txt", "x"), top = dir.path();
};

TEST_F(ByName, ExistenceAndRemoval) {
    const std::string missing = dir / "none";
    for (const char* name : {file.c_str(), top.c_str(), missing.c_str(), "", "   ",
                             static_cast<const char*>(nullptr)}) {
        const bool exists = name == file.c_str() || name == top.c_str();
        EXPECT_EQ(FILE_FileExists(name) != 0, exists) << (name ? name : "null");
        EXPECT_EQ(FILE_DirExists(name) != 0, exists) << (name ? name : "null");
    }
    EXPECT_EQ(GEN_GetRetCode(), kNoSuchCode);
    // clang-format off
    const struct { const char* name; int32_t number, code; } rows[] = {
        {file.c_str(), orvik::test::kNoMessage, ORVIK_RC_OK},
        {file.c_str(), ORVIK_MSG_FILE_NOT_FOUND, ORVIK_RC_REMOVE_FAILED},
        {top.c_str(), ORVIK_MSG_ACCESS_DENIED, ORVIK_RC_REMOVE_FAILED},
        {nullptr, ORVIK_MSG_NULL_ARGUMENT, ORVIK_RC_NULL_ARGUMENT},
        {"   ", ORVIK_MSG_FILE_NOT_FOUND, ORVIK_RC_REMOVE_FAILED},  // tried as it is
    };
    // clang-format on
    for (const auto& row : rows) {
        EXPECT_REPORT(FILE_Remove4Name(row.name), row.number, row.code)
            << (row.name ? row.name : "null");
    }
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(fs::exists(top));
}

// Relative names resolve against the current directory, which only a
// successful FILE_Move2Dir changes.
TEST_F(ByName, MkDirAndMove2DirResults) {
    const fs::path before = fs::current_path();
    const std::string made = dir / "made", orphan = dir / "no/such/parent", underFile = file + "/s";
    const std::tuple<int32_t (*)(const char*), const char*, int32_t> rows[] = {
        {FILE_MkDir, made.c_str(), 0},
        {FILE_MkDir, made.c_str(), ORVIK_MKDIR_REFUSED},  // exists already, as either kind
        {FILE_MkDir, file.c_str(), ORVIK_MKDIR_REFUSED},
        {FILE_MkDir, orphan.c_str(), ORVIK_MKDIR_NO_PATH},
        {FILE_MkDir, underFile.c_str(), ORVIK_MKDIR_FAILED},
        {FILE_MkDir, nullptr, ORVIK_MKDIR_NULL_NAME},
        {FILE_MkDir, " \t ", ORVIK_MKDIR_BLANK_NAME},
        {FILE_Move2Dir, file.c_str(), ORVIK_MOVE2DIR_REFUSED},  // not a directory
        {FILE_Move2Dir, nullptr, ORVIK_MOVE2DIR_NULL_NAME},
        {FILE_Move2Dir, "  ", ORVIK_MOVE2DIR_BLANK_NAME},
        {FILE_Move2Dir, made.c_str(), 0},
        {FILE_Move2Dir, "..", 0},
    };
    for (const auto& [function, name, result] : rows) {
        EXPECT_EQ(function(name), result) << (name ? name : "null");
    }
    EXPECT_TRUE(fs::is_directory(made));
    EXPECT_FALSE(fs::exists(dir / "no"));
    EXPECT_EQ(fs::current_path(), dir.path());
    fs::current_path(before);
    EXPECT_EQ(GEN_GetRetCode(), kNoSuchCode);
}

}  // namespace
