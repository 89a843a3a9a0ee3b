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
using orvik::test::TempDir;
using orvik::test::TrackedException;
namespace fs = std::filesystem;

class OpenClose : public ::testing::Test {
protected:
    void SetUp() override { GEN_SetRetCode(77); }
    void TearDown() override { EXPECT_EQ(TrackedException::s_alive, 0) << "exception leaked"; }
    TempDir dir;
};

TEST_F(OpenClose, FlagsFollowModeExistenceAndCreate) {
    const std::string present = dir.Write("present.txt", "content");
    const std::string absent = dir / "absent.txt";
    const struct {
        uint32_t mode;
        bool exists;
        int32_t create;
        UINT flags;  // 0: refused before opening
    } rows[] = {
        {0, true, 0, 0x0020},  {0, true, 1, 0x1020},       {0, true, -5, 0x1020},
        {4, true, 0, 0x0020},  {1, true, 0, 0x0012},       {2, true, 0, 0x0012},
        {3, true, 0, 0x0012},  {2, true, 1, 0x1012},       {1, false, 0, 0x1012},
        {3, false, 1, 0x1012}, {0, false, 0, 0},           {0, false, 1, 0},
        {0x100, false, 0, 0},  {0xFF02, false, 0, 0x1012},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("mode " + std::to_string(row.mode) + (row.exists ? " exists" : " absent") +
                     " create " + std::to_string(row.create));
        ScriptedFile file("", false);
        const std::string& name = row.exists ? present : absent;
        char* message = FILE_Open(&file, name.c_str(), row.mode, row.create);
        EXPECT_EQ(file.m_path, name.c_str()) << "the name is set first";
        if (row.flags == 0) {
            EXPECT_EQ(message, MSG_GetStr(52004));
            EXPECT_EQ(GEN_GetRetCode(), 13);
            EXPECT_EQ(file.Calls(), "SetFilePath");
        } else {
            EXPECT_EQ(message, nullptr);
            EXPECT_EQ(GEN_GetRetCode(), 0);
            EXPECT_EQ(file.Calls(), "SetFilePath Open");
            EXPECT_EQ(file.m_openFlags, row.flags);
        }
    }
}

TEST_F(OpenClose, RefusedOpenReportsTheRecord) {
    const std::string present = dir.Write("p.txt", "");
    const struct {
        int cause;  // what the refusing Open writes into the record; -1 nothing
        int32_t number;
    } rows[] = {{CFileException::accessDenied, 52007},
                {-1, 52002},
                {CFileException::sharingViolation, 52013},
                {99, 52017}};
    for (const auto& row : rows) {
        ScriptedFile file("", false);
        file.m_openResult = FALSE;
        file.m_openCause = row.cause;
        EXPECT_EQ(FILE_Open(&file, present.c_str(), 0, 0), MSG_GetStr(row.number)) << row.cause;
        EXPECT_EQ(GEN_GetRetCode(), 13);
    }
}

TEST_F(OpenClose, NullArguments) {
    ScriptedFile file;
    EXPECT_EQ(FILE_Open(nullptr, nullptr, 0, 0), MSG_GetStr(52000));
    EXPECT_EQ(GEN_GetRetCode(), 4);
    EXPECT_EQ(FILE_Open(&file, nullptr, 2, 0), MSG_GetStr(52001));
    EXPECT_EQ(GEN_GetRetCode(), 7);
    EXPECT_EQ(FILE_Close(nullptr), MSG_GetStr(52000));
    EXPECT_EQ(GEN_GetRetCode(), 4);
    EXPECT_EQ(FILE_Remove4Object(nullptr), MSG_GetStr(52000));
    EXPECT_EQ(GEN_GetRetCode(), 4);
    EXPECT_EQ(file.Calls(), "");
}

TEST_F(OpenClose, RealFilesAreCreatedEmptiedAndKept) {
    const std::string name = dir.Write("data.txt", "keep");
    CFile file;
    ASSERT_EQ(FILE_Open(&file, name.c_str(), 2, 0), nullptr);
    EXPECT_EQ(FILE_Close(&file), nullptr);
    EXPECT_EQ(dir.Read("data.txt"), "keep");

    ASSERT_EQ(FILE_Open(&file, name.c_str(), 0, 1), nullptr) << "read mode, create flag set";
    EXPECT_EQ(FILE_Length(&file), 0u) << "emptied";
    EXPECT_NE(FILE_Write(&file, "x", 1), nullptr) << "and open for reading only";
    EXPECT_EQ(FILE_Close(&file), nullptr);

    const std::string fresh = dir / "fresh.txt";
    ASSERT_EQ(FILE_Open(&file, fresh.c_str(), 1, 0), nullptr);
    EXPECT_TRUE(fs::exists(fresh));
    CFile second;
    EXPECT_EQ(FILE_Open(&second, fresh.c_str(), 0, 0), MSG_GetStr(52013))
        << "a writer shares with nobody";
    EXPECT_EQ(GEN_GetRetCode(), 13);
    EXPECT_EQ(FILE_Close(&file), nullptr);
}

TEST_F(OpenClose, MissingFileKeepsThePassedName) {
    CFile file;
    const std::string missing = dir / "missing.txt";
    EXPECT_EQ(FILE_Open(&file, missing.c_str(), 0, 0), MSG_GetStr(52004));
    EXPECT_EQ(GEN_GetRetCode(), 13);
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    EXPECT_FALSE(fs::exists(missing));
    char path[512];
    EXPECT_EQ(FILE_GetPath(&file, path, 511), path);
    EXPECT_EQ(path, missing);
}

TEST_F(OpenClose, CloseOnlyClosesAnOpenObject) {
    ScriptedFile closed("", false);
    EXPECT_EQ(FILE_Close(&closed), nullptr);
    EXPECT_EQ(GEN_GetRetCode(), 0);
    EXPECT_EQ(closed.Calls(), "") << "Close is not called";

    ScriptedFile open;
    EXPECT_EQ(FILE_Close(&open), nullptr);
    EXPECT_EQ(FILE_Close(&open), nullptr);
    EXPECT_EQ(open.Calls(), "Close");

    ScriptedFile failing;
    failing.m_throwCause["Close"] = CFileException::hardIO;
    EXPECT_EQ(FILE_Close(&failing), MSG_GetStr(52012));
    EXPECT_EQ(GEN_GetRetCode(), 6);
}

TEST_F(OpenClose, Remove4ObjectClosesThenDeletes) {
    const std::string name = dir.Write("doomed.txt", "x");
    CFile real;
    ASSERT_EQ(FILE_Open(&real, name.c_str(), 0, 0), nullptr);
    EXPECT_EQ(FILE_Remove4Object(&real), nullptr);
    EXPECT_EQ(GEN_GetRetCode(), 0);
    EXPECT_EQ(real.m_hFile, CFile::hFileNull);
    EXPECT_FALSE(fs::exists(name));

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
}

TEST_F(OpenClose, ForeignExceptionsPassThrough) {
    ScriptedFile file;
    file.m_throwCause["Close"] = ScriptedFile::kForeign;
    EXPECT_THROW(FILE_Close(&file), std::runtime_error);
}

}  // namespace
