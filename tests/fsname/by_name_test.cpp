// The functions that take a name: none but FILE_Remove4Name sets the code.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

TEST_F(ByName, MkDirResults) {
    const std::string made = dir / "made", orphan = dir / "no/such/parent", underFile = file + "/s";
    const std::pair<const char*, int32_t> rows[] = {
        {made.c_str(), 0},
        {made.c_str(), ORVIK_MKDIR_REFUSED},  // exists already, as either kind
        {file.c_str(), ORVIK_MKDIR_REFUSED},
        {orphan.c_str(), ORVIK_MKDIR_NO_PATH},
        {underFile.c_str(), ORVIK_MKDIR_FAILED},
        {nullptr, ORVIK_MKDIR_NULL_NAME},
        {" \t ", ORVIK_MKDIR_BLANK_NAME},
    };
    for (const auto& [name, result] : rows) {
        EXPECT_EQ(FILE_MkDir(name), result) << (name ? name : "null");
    }
    EXPECT_TRUE(fs::is_directory(made));
    EXPECT_FALSE(fs::exists(dir / "no"));
    EXPECT_EQ(GEN_GetRetCode(), kNoSuchCode);
}

TEST_F(ByName, Move2DirChangesTheCurrentDirectory) {
    const fs::path before = fs::current_path();
    fs::create_directory(dir.path() / "sub");
    EXPECT_EQ(FILE_Move2Dir(file.c_str()), ORVIK_MOVE2DIR_REFUSED) << "not a directory";
    EXPECT_EQ(fs::current_path(), before) << "a refused change leaves it";
    EXPECT_EQ(FILE_Move2Dir(nullptr), ORVIK_MOVE2DIR_NULL_NAME);
    EXPECT_EQ(FILE_Move2Dir("  "), ORVIK_MOVE2DIR_BLANK_NAME);
    ASSERT_EQ(FILE_Move2Dir((dir / "sub").c_str()), 0);
    EXPECT_EQ(FILE_Move2Dir(".."), 0) << "relative names resolve against it";
    EXPECT_EQ(fs::current_path(), dir.path());
    fs::current_path(before);
    EXPECT_EQ(GEN_GetRetCode(), kNoSuchCode);
}

}  // namespace
