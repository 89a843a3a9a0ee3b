#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "scripted_file.h"
#include "temp_dir.h"

namespace {

using orvik::test::ScriptedFile;
namespace fs = std::filesystem;

TEST(OpenClose, FlagsFollowModeExistenceAndCreate) {
    orvik::test::TempDir dir;
    const std::string present = dir.Write("present.txt", "content"), absent = dir / "absent.txt";
    // clang-format off
    const struct { uint32_t mode; bool exists; int32_t create; UINT flags; } rows[] = {  // flags 0: refused
        {0, true, 0, 0x0020},  {0, true, 1, 0x1020},  {0, true, -5, 0x1020}, {4, true, 0, 0x0020},
        {1, true, 0, 0x0012},  {2, true, 0, 0x0012},  {3, true, 0, 0x0012},  {2, true, 1, 0x1012},
        {1, false, 0, 0x1012}, {3, false, 1, 0x1012}, {0, false, 0, 0},      {0x100, false, 1, 0},
        {0xFF02, false, 0, 0x1012},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE("mode " + std::to_string(row.mode) + " create " + std::to_string(row.create));
        ScriptedFile file("", false);
        const std::string& name = row.exists ? present : absent;
        GEN_SetRetCode(77);
        EXPECT_EQ(FILE_Open(&file, name.c_str(), row.mode, row.create),
                  row.flags ? nullptr : MSG_GetStr(52004));
        EXPECT_EQ(GEN_GetRetCode(), row.flags ? 0 : 13);
        EXPECT_EQ(file.m_calls, row.flags ? "SetFilePath Open" : "SetFilePath");
        EXPECT_EQ(file.m_openFlags, row.flags);
        EXPECT_EQ(file.m_path, name.c_str()) << "the name stays set";
    }
}

TEST(OpenClose, RefusedOpenReportsItsRecordAndNullsComeFirst) {
    orvik::test::TempDir dir;
    const std::string present = dir.Write("p.txt", "");
    // The record starts as cause none; a refusal that leaves it so gives 52002.
    for (const auto& [cause, number] :
         {std::pair{5, 52007}, {-1, 52002}, {11, 52013}, {99, 52017}}) {
        ScriptedFile file("", false);
        file.m_openResult = FALSE;
        file.m_openCause = cause;
        EXPECT_EQ(FILE_Open(&file, present.c_str(), 0, 0), MSG_GetStr(number)) << cause;
        EXPECT_EQ(GEN_GetRetCode(), 13);
    }
    ScriptedFile file;
    EXPECT_EQ(FILE_Open(nullptr, nullptr, 0, 0), MSG_GetStr(52000));
    EXPECT_EQ(GEN_GetRetCode(), 4);
    EXPECT_EQ(FILE_Open(&file, nullptr, 2, 0), MSG_GetStr(52001));
    EXPECT_EQ(GEN_GetRetCode(), 7);
    for (char* message : {FILE_Close(nullptr), FILE_Remove4Object(nullptr)}) {
        EXPECT_EQ(message, MSG_GetStr(52000));
    }
    EXPECT_EQ(GEN_GetRetCode(), 4);
    EXPECT_EQ(file.m_calls, "");
}

TEST(OpenClose, RealFilesAreCreatedEmptiedSharedAndKept) {
    orvik::test::TempDir dir;
    const std::string name = dir.Write("data.txt", "keep"), fresh = dir / "fresh.txt";
    CFile file, second;
    ASSERT_EQ(FILE_Open(&file, name.c_str(), 2, 0), nullptr);
    EXPECT_EQ(FILE_Close(&file), nullptr);
    EXPECT_EQ(dir.Read("data.txt"), "keep");
    ASSERT_EQ(FILE_Open(&file, name.c_str(), 0, 1), nullptr) << "read mode with the create flag";
    EXPECT_EQ(FILE_Length(&file), 0u) << "emptied";
    EXPECT_NE(FILE_Write(&file, "x", 1), nullptr) << "and open for reading only";
    ASSERT_EQ(FILE_Open(&file, fresh.c_str(), 1, 0), nullptr);
    EXPECT_TRUE(fs::exists(fresh));
    EXPECT_EQ(FILE_Open(&second, fresh.c_str(), 0, 0), MSG_GetStr(52013))
        << "a writer shares with nobody";
    EXPECT_EQ(GEN_GetRetCode(), 13);
    const std::string missing = dir / "missing.txt";
    EXPECT_EQ(FILE_Open(&second, missing.c_str(), 0, 0), MSG_GetStr(52004));
    EXPECT_FALSE(fs::exists(missing));
    char path[512];
    EXPECT_STREQ(FILE_GetPath(&second, path, 511), missing.c_str()) << "the passed name stays";
}

TEST(OpenClose, CloseOnlyAnOpenObjectAndRemoveWhateverTheClose) {
    ScriptedFile closed("", false), open, failing;
    EXPECT_EQ(FILE_Close(&closed), nullptr);
    EXPECT_EQ(FILE_Close(&open), nullptr);
    EXPECT_EQ(FILE_Close(&open), nullptr);
    EXPECT_EQ(closed.m_calls + "|" + open.m_calls, "|Close");
    failing.m_throwCause["Close"] = CFileException::hardIO;
    EXPECT_EQ(FILE_Close(&failing), MSG_GetStr(52012));
    EXPECT_EQ(GEN_GetRetCode(), 6);

    orvik::test::TempDir dir;
    CFile real;
    ASSERT_EQ(FILE_Open(&real, dir.Write("doomed.txt", "x").c_str(), 0, 0), nullptr);
    EXPECT_EQ(FILE_Remove4Object(&real), nullptr);
    EXPECT_EQ(real.m_hFile, CFile::hFileNull);
    EXPECT_FALSE(fs::exists(dir / "doomed.txt"));
    ScriptedFile closeFails;
    closeFails.m_path = dir.Write("other.txt", "x").c_str();
    closeFails.m_throwCause["Close"] = CFileException::hardIO;
    EXPECT_EQ(FILE_Remove4Object(&closeFails), nullptr) << "a failed close leaves no trace";
    EXPECT_EQ(GEN_GetRetCode(), 0);
    EXPECT_FALSE(fs::exists(dir / "other.txt"));
    ScriptedFile noPath("", false);
    noPath.m_path = "";
    EXPECT_EQ(FILE_Remove4Object(&noPath), MSG_GetStr(52004)) << "the empty path is tried";
    EXPECT_EQ(GEN_GetRetCode(), 8);
    open.m_hFile = 1000;
    open.m_throwCause["Close"] = ScriptedFile::kForeign;
    EXPECT_THROW(FILE_Close(&open), std::runtime_error);
}

}  // namespace
