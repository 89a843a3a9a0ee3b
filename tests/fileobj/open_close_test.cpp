// FILE_Open, FILE_Close, FILE_Remove4Object and the name queries: what an
// open in each mode may do to a real file, and against scripted file
// objects how each outcome is reported and which names fit which buffers.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <tuple>

#include "OrvikFILE_Lib.h"
#include "report_check.h"
#include "scripted_file.h"
#include "temp_dir.h"

namespace {

using orvik::test::kNoMessage;
using orvik::test::ScriptedFile;
namespace fs = std::filesystem;

// Each mode and create flag on a file that exists or not: whether the open
// succeeds, the content after writing "XY" through it ("(none)": no file),
// and what another reader that comes meanwhile is told (a refused open
// reports the cause of its record).
TEST(OpenClose, ModeExistenceAndCreateDecideWhatTheOpenMayDo) {
    constexpr int32_t kInUse = ORVIK_MSG_SHARING_VIOLATION, kMissing = ORVIK_MSG_FILE_NOT_FOUND;
    const std::tuple<uint32_t, bool, int32_t, std::string, int32_t> rows[] = {
        // mode, exists, create, content ("(none)": the open fails), other reader
        {0, true, 0, "content", kNoMessage},
        {0, true, 1, "", kNoMessage},         // creating empties, even for reading
        {4, true, 0, "content", kNoMessage},  // an unknown mode reads
        {1, true, 0, "XYntent", kInUse},
        {2, true, 1, "XY", kInUse},
        {1, false, 0, "XY", kInUse},  // writing creates
        {0, false, 0, "(none)", kMissing},
        {0x100, false, 1, "(none)", kMissing},
        // CFile's own flags are not FILE_Open's: this writes without emptying
        {CFile::modeCreate | CFile::modeWrite, true, 0, "XYntent", kInUse},
    };
    for (const auto& [mode, exists, create, content, other] : rows) {
        SCOPED_TRACE("mode " + std::to_string(mode) + " create " + std::to_string(create));
        orvik::test::TempDir dir;
        const std::string name = exists ? dir.Write("f.txt", "content") : dir / "f.txt";
        const bool opens = content != "(none)";
        CFile file, reader;
        EXPECT_REPORT(FILE_Open(&file, name.c_str(), mode, create), opens ? kNoMessage : kMissing,
                      opens ? ORVIK_RC_OK : ORVIK_RC_OPEN_FAILED);
        FILE_Write(&file, "XY", 2);
        EXPECT_REPORT(FILE_Open(&reader, name.c_str(), 0, 0), other,
                      other == kNoMessage ? ORVIK_RC_OK : ORVIK_RC_OPEN_FAILED);
        FILE_Close(&file);
        EXPECT_EQ(fs::exists(name) ? dir.Read("f.txt") : "(none)", content);
    }
}

// Before the file object or the name is looked at.
TEST(OpenClose, NullsAreRefusedFirst) {
    CFile file;
    EXPECT_REPORT(FILE_Open(nullptr, nullptr, ORVIK_OPEN_READ, ORVIK_OPEN_KEEP),
                  ORVIK_MSG_NO_FILE_OBJECT, ORVIK_RC_NO_FILE_OBJECT);
    EXPECT_REPORT(FILE_Open(&file, nullptr, ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_KEEP),
                  ORVIK_MSG_NULL_ARGUMENT, ORVIK_RC_NULL_ARGUMENT);
    EXPECT_REPORT(FILE_Remove4Object(nullptr), ORVIK_MSG_NO_FILE_OBJECT, ORVIK_RC_NO_FILE_OBJECT);
}

TEST(OpenClose, CloseOnlyAnOpenObjectAndRemoveWhateverTheClose) {
    ScriptedFile closed("", false), open;
    EXPECT_REPORT(FILE_Close(&closed), kNoMessage, ORVIK_RC_OK);
    EXPECT_REPORT(FILE_Close(&open), kNoMessage, ORVIK_RC_OK);
    EXPECT_REPORT(FILE_Close(&open), kNoMessage, ORVIK_RC_OK);
    EXPECT_EQ(closed.m_calls + "|" + open.m_calls, "|Close");

    // Closed first, whether the close fails or not; the empty path is tried.
    orvik::test::TempDir dir;
    for (const bool closeFails : {false, true}) {
        ScriptedFile removed;
        removed.m_path = dir.Write("doomed.txt", "x").c_str();
        if (closeFails) {
            removed.m_throwCause["Close"] = CFileException::hardIO;
        }
        EXPECT_REPORT(FILE_Remove4Object(&removed), kNoMessage, ORVIK_RC_OK);
        EXPECT_EQ(removed.m_calls.substr(0, 5), "Close");
        EXPECT_FALSE(fs::exists(dir / "doomed.txt"));
    }
    EXPECT_REPORT(FILE_Remove4Object(&open), ORVIK_MSG_FILE_NOT_FOUND, ORVIK_RC_REMOVE_FAILED);
}

using Query = char* (*)(CFile*, char*, int32_t);

// Asks `query` for a name of `length` bytes with a heap buffer of exactly
// limit + 1 bytes (or none); true when the name came back whole.
bool Fits(Query query, size_t length, bool withBuffer, int32_t limit) {
    orvik::test::ScriptedFile file;
    const std::string name(length, 'n');
    file.m_name = file.m_path = name.c_str();
    const auto buffer = std::make_unique<char[]>(limit >= 0 ? size_t(limit) + 1 : 1);
    buffer[0] = '#';
    char* dest = withBuffer ? buffer.get() : nullptr;
    char* result = query(&file, dest, limit);
    if (GEN_GetRetCode() != ORVIK_RC_OK) {
        EXPECT_TRUE(orvik::test::Reported(result, ORVIK_MSG_NAME_TOO_LONG, ORVIK_RC_NAME_TOO_LONG));
        EXPECT_EQ(buffer[0], '#') << "nothing copied";
        return false;
    }
    EXPECT_EQ(result, withBuffer ? dest : MSG_GetStr4Path());
    EXPECT_EQ(std::string(result), name);
    return true;
}

TEST(NameQuery, FitsAndRefusals) {
    const size_t most = size_t(MSG_MaxChars4Path());
    // clang-format off
    const std::tuple<size_t, bool, int32_t, bool, bool> rows[] = {
        // name length, with a buffer, limit: FILE_GetName fits, FILE_GetPath fits
        {8, true, 8, true, true},
        {9, true, 8, false, false},
        {0, true, 0, true, true},
        {0, true, -1, false, false},
        {9, false, 8, false, true},
        {most, false, 0, true, true},
        {most + 1, false, int32_t(most) + 5, false, false},
    };
    // clang-format on
    for (const auto& [length, withBuffer, limit, nameFits, pathFits] : rows) {
        SCOPED_TRACE(std::to_string(length) + " limit " + std::to_string(limit));
        EXPECT_EQ(Fits(FILE_GetName, length, withBuffer, limit), nameFits);
        EXPECT_EQ(Fits(FILE_GetPath, length, withBuffer, limit), pathFits);
    }
    char buffer[4] = "##";
    for (Query query : {FILE_GetName, FILE_GetPath}) {
        EXPECT_REPORT(query(nullptr, buffer, 3), ORVIK_MSG_NO_FILE_OBJECT, ORVIK_RC_NO_FILE_OBJECT);
        EXPECT_STREQ(buffer, "##");
    }
}

}  // namespace
