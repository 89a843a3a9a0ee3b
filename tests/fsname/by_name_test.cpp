#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "OrvikFILE_Lib.h"
#include "report_check.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using orvik::test::kNoMessage;

// Every test starts from a code that no function hands; all but
// FILE_Remove4Name must leave it.
class ByName : public ::testing::Test {
protected:
    void SetUp() override { GEN_SetRetCode(orvik::test::kNoSuchCode); }
    orvik::test::TempDir dir;
};

TEST_F(ByName, ExistenceTestsAnswerForFilesAndDirectoriesAlike) {
    const std::string file = dir.Write("f.txt", "x"), missing = dir / "none", top = dir.path();
    // clang-format off
    const struct { const char* name; bool exists; } rows[] = {
        {file.c_str(), true}, {top.c_str(), true}, {missing.c_str(), false}, {"", false}, {"   ", false},
        {nullptr, false},
    };
    // clang-format on
    for (const auto& row : rows) {
        EXPECT_EQ(FILE_FileExists(row.name) != 0, row.exists) << (row.name ? row.name : "null");
        EXPECT_EQ(FILE_DirExists(row.name), FILE_FileExists(row.name));
    }
    EXPECT_EQ(GEN_GetRetCode(), orvik::test::kNoSuchCode);
}

TEST_F(ByName, Remove4NameReportsEveryOutcome) {
    const std::string file = dir.Write("f.txt", "x"), top = dir.path();
    // clang-format off
    const struct { const char* name; int32_t number, code; } rows[] = {
        {file.c_str(), kNoMessage, ORVIK_RC_OK},
        {file.c_str(), ORVIK_MSG_FILE_NOT_FOUND, ORVIK_RC_REMOVE_FAILED},
        {top.c_str(), ORVIK_MSG_ACCESS_DENIED, ORVIK_RC_REMOVE_FAILED},
        {nullptr, ORVIK_MSG_NULL_ARGUMENT, ORVIK_RC_NULL_ARGUMENT},
        {"   ", ORVIK_MSG_FILE_NOT_FOUND, ORVIK_RC_REMOVE_FAILED},  // a blank name is tried as it is
    };
    // clang-format on
    for (const auto& row : rows) {
        EXPECT_REPORT(FILE_Remove4Name(row.name), row.number, row.code)
            << (row.name ? row.name : "null");
    }
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(fs::exists(top));
    EXPECT_EQ(FILE_FileExists(file.c_str()), 0);
    EXPECT_EQ(GEN_GetRetCode(), ORVIK_RC_REMOVE_FAILED)
        << "FILE_FileExists leaves the code of the call before";
}

TEST_F(ByName, MkDirResults) {
    const std::string made = dir / "made", file = dir.Write("plain", ""),
                      orphan = dir / "no/such/parent", underFile = dir / "plain/sub";
    // clang-format off
    const struct { const char* name; int32_t result; } rows[] = {
        {made.c_str(), 0}, {made.c_str(), ORVIK_MKDIR_REFUSED}, {file.c_str(), ORVIK_MKDIR_REFUSED},  // exists already, as either kind
        {orphan.c_str(), ORVIK_MKDIR_NO_PATH}, {underFile.c_str(), ORVIK_MKDIR_FAILED},              // no parent; a file as parent
        {nullptr, ORVIK_MKDIR_NULL_NAME}, {"", ORVIK_MKDIR_BLANK_NAME}, {" \t ", ORVIK_MKDIR_BLANK_NAME},
    };
    // clang-format on
    for (const auto& row : rows) {
        EXPECT_EQ(FILE_MkDir(row.name), row.result) << (row.name ? row.name : "null");
    }
    EXPECT_TRUE(fs::is_directory(made));
    EXPECT_FALSE(fs::exists(dir / "no"));
    EXPECT_EQ(GEN_GetRetCode(), orvik::test::kNoSuchCode);
}

TEST_F(ByName, Move2DirChangesTheCurrentDirectory) {
    const fs::path before = fs::current_path();
    fs::create_directory(dir.path() / "sub");
    dir.Write("sub/inner.txt", "x");
    const std::string missing = dir / "missing", plain = dir.Write("plain", "");
    for (const char* refused : {missing.c_str(), plain.c_str()}) {
        EXPECT_EQ(FILE_Move2Dir(refused), ORVIK_MOVE2DIR_REFUSED);
        EXPECT_EQ(fs::current_path(), before) << "a refused change leaves it";
    }
    EXPECT_EQ(FILE_Move2Dir(nullptr), ORVIK_MOVE2DIR_NULL_NAME);
    EXPECT_EQ(FILE_Move2Dir("  "), ORVIK_MOVE2DIR_BLANK_NAME);
    ASSERT_EQ(FILE_Move2Dir((dir / "sub").c_str()), 0);
    EXPECT_NE(FILE_FileExists("inner.txt"), 0) << "relative names resolve against it";
    EXPECT_EQ(FILE_MkDir("relative"), 0);
    EXPECT_TRUE(fs::is_directory(dir.path() / "sub" / "relative"));
    EXPECT_EQ(FILE_Move2Dir(".."), 0);
    EXPECT_EQ(fs::current_path(), dir.path());
    fs::current_path(before);
    EXPECT_EQ(GEN_GetRetCode(), orvik::test::kNoSuchCode);
}

}  // namespace
