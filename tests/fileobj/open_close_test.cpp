// FILE_Open, FILE_Close and FILE_Remove4Object against scripted file
// objects: which flags the open asks for and how each outcome is reported.
// What the flags do to a real file is the platform's own test.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "OrvikFILE_Lib.h"
#include "report_check.h"
#include "scripted_file.h"
#include "temp_dir.h"

namespace {

using orvik::test::kNoMessage;
using orvik::test::ScriptedFile;
namespace fs = std::filesystem;

constexpr UINT kRefused = 0;  // no Open call at all
constexpr UINT kRead = CFile::modeRead | CFile::shareDenyWrite;
constexpr UINT kWrite = CFile::modeReadWrite | CFile::shareExclusive;
constexpr UINT kCreate = CFile::modeCreate;

TEST(OpenClose, FlagsFollowModeExistenceAndCreate) {
    orvik::test::TempDir dir;
    const std::string present = dir.Write("present.txt", "content"), absent = dir / "absent.txt";
    // clang-format off
    const struct { uint32_t mode; bool exists; int32_t create; UINT flags; } rows[] = {
        {0, true, 0, kRead},            {0, true, 1, kRead | kCreate},  {0, true, -5, kRead | kCreate},
        {4, true, 0, kRead},            {1, true, 0, kWrite},           {2, true, 0, kWrite},
        {3, true, 0, kWrite},           {2, true, 1, kWrite | kCreate}, {1, false, 0, kWrite | kCreate},
        {3, false, 1, kWrite | kCreate}, {0, false, 0, kRefused},       {0x100, false, 1, kRefused},
        {0xFF02, false, 0, kWrite | kCreate},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE("mode " + std::to_string(row.mode) + " create " + std::to_string(row.create));
        ScriptedFile file("", false);
        const std::string& name = row.exists ? present : absent;
        GEN_SetRetCode(orvik::test::kNoSuchCode);
        if (row.flags == kRefused) {
            EXPECT_REPORT(FILE_Open(&file, name.c_str(), row.mode, row.create),
                          ORVIK_MSG_FILE_NOT_FOUND, ORVIK_RC_OPEN_FAILED);
        } else {
            EXPECT_REPORT(FILE_Open(&file, name.c_str(), row.mode, row.create), kNoMessage,
                          ORVIK_RC_OK);
        }
        EXPECT_EQ(file.m_calls, row.flags == kRefused ? "SetFilePath" : "SetFilePath Open");
        EXPECT_EQ(file.m_openFlags, row.flags);
        EXPECT_EQ(file.m_path, name.c_str()) << "the name stays set";
    }
}

TEST(OpenClose, RefusedOpenReportsItsRecordAndNullsComeFirst) {
    orvik::test::TempDir dir;
    const std::string present = dir.Write("p.txt", "");
    // The record starts as cause none; a refusal that leaves it so says so.
    for (const auto& [cause, number] :
         {std::pair<int, int32_t>{CFileException::accessDenied, ORVIK_MSG_ACCESS_DENIED},
          {-1, ORVIK_MSG_NONE},
          {CFileException::sharingViolation, ORVIK_MSG_SHARING_VIOLATION},
          {99, ORVIK_MSG_NO_EXCEPTION_TEXT}}) {
        ScriptedFile file("", false);
        file.m_openResult = FALSE;
        file.m_openCause = cause;
        EXPECT_REPORT(FILE_Open(&file, present.c_str(), 0, 0), number, ORVIK_RC_OPEN_FAILED);
    }
    ScriptedFile file;
    EXPECT_REPORT(FILE_Open(nullptr, nullptr, 0, 0), ORVIK_MSG_NO_FILE_OBJECT,
                  ORVIK_RC_NO_FILE_OBJECT);
    EXPECT_REPORT(FILE_Open(&file, nullptr, 2, 0), ORVIK_MSG_NULL_ARGUMENT, ORVIK_RC_NULL_ARGUMENT);
    EXPECT_REPORT(FILE_Close(nullptr), ORVIK_MSG_NO_FILE_OBJECT, ORVIK_RC_NO_FILE_OBJECT);
    EXPECT_REPORT(FILE_Remove4Object(nullptr), ORVIK_MSG_NO_FILE_OBJECT, ORVIK_RC_NO_FILE_OBJECT);
    EXPECT_EQ(file.m_calls, "");
}

TEST(OpenClose, CloseOnlyAnOpenObjectAndRemoveWhateverTheClose) {
    ScriptedFile closed("", false), open, failing;
    EXPECT_REPORT(FILE_Close(&closed), kNoMessage, ORVIK_RC_OK);
    EXPECT_REPORT(FILE_Close(&open), kNoMessage, ORVIK_RC_OK);
    EXPECT_REPORT(FILE_Close(&open), kNoMessage, ORVIK_RC_OK);
    EXPECT_EQ(closed.m_calls, "");
    EXPECT_EQ(open.m_calls, "Close");
    failing.m_throwCause["Close"] = CFileException::hardIO;
    EXPECT_REPORT(FILE_Close(&failing), ORVIK_MSG_HARD_IO, ORVIK_RC_CLOSE_FAILED);

    orvik::test::TempDir dir;
    ScriptedFile removed, closeFails;
    removed.m_path = dir.Write("doomed.txt", "x").c_str();
    EXPECT_REPORT(FILE_Remove4Object(&removed), kNoMessage, ORVIK_RC_OK);
    EXPECT_EQ(removed.m_calls, "Close") << "closed before its file goes";
    EXPECT_FALSE(fs::exists(dir / "doomed.txt"));
    closeFails.m_path = dir.Write("other.txt", "x").c_str();
    closeFails.m_throwCause["Close"] = CFileException::hardIO;
    EXPECT_REPORT(FILE_Remove4Object(&closeFails), kNoMessage, ORVIK_RC_OK)
        << "a failed close leaves no trace";
    EXPECT_FALSE(fs::exists(dir / "other.txt"));
    ScriptedFile noPath("", false);
    noPath.m_path = "";
    EXPECT_REPORT(FILE_Remove4Object(&noPath), ORVIK_MSG_FILE_NOT_FOUND, ORVIK_RC_REMOVE_FAILED)
        << "the empty path is tried";
    open.m_hFile = 1000;
    open.m_throwCause["Close"] = ScriptedFile::kForeign;
    EXPECT_THROW(FILE_Close(&open), std::runtime_error);
}

}  // namespace
