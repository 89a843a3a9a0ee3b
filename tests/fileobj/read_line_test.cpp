#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "report_check.h"
#include "scripted_file.h"
#include "temp_dir.h"

namespace {

using orvik::test::kNoMessage;
using orvik::test::ScriptedFile;

// Reads lines until the end of the file, each into a heap buffer of exactly
// max + 1 bytes so that the sanitizer catches a write past it, and writes
// them as "[line]" and the end, which must be reported as such, as "<EOF>".
std::string ReadAll(CFile& file, uint32_t max) {
    std::string out;
    for (int i = 0; i < 50; ++i) {
        const auto buffer = std::make_unique<char[]>(max + 1);
        uint32_t status = 0;
        if (char* message = FILE_ReadStr(&file, buffer.get(), max, &status)) {
            EXPECT_TRUE(orvik::test::Reported(message, ORVIK_MSG_END_OF_FILE, ORVIK_RC_END_OF_FILE,
                                              status, ORVIK_STATUS_END_OF_FILE));
            EXPECT_EQ(buffer[0], '\0');
            return out + "<EOF>";
        }
        EXPECT_EQ(GEN_GetRetCode(), ORVIK_RC_OK);
        const uint32_t length = status - ORVIK_STATUS_TRANSFERRED;
        EXPECT_EQ(buffer[length], '\0') << "terminated at the status length";
        out += "[" + std::string(buffer.get(), length) + "]";
    }
    return out;
}

TEST(ReadLine, SplitsContentIntoLines) {
    using namespace std::string_literals;
    // clang-format off
    const struct { std::string content; uint32_t max; std::string lines; } rows[] = {
        {"", 10, "<EOF>"},
        {"\n\r\n\n", 10, "[][][]<EOF>"},
        {"cr\rinside\r", 20, "[cr\rinside\r]<EOF>"},
        {"abcd\nx", 4, "[abcd][][x]<EOF>"},      // exactly max, then its LF
        {"abcd\r\nx", 4, "[abcd][][x]<EOF>"},    // cut before CR LF
        {"abc\r\nx", 4, "[abc\r][][x]<EOF>"},    // cut between CR and LF
        {"abcdefghij", 3, "[abc][def][ghi][j]<EOF>"},  // the last line without LF
        {"a\0b\n"s, 10, "[a\0b]<EOF>"s},         // a zero byte is counted
    };
    // clang-format on
    for (const auto& row : rows) {
        ScriptedFile file(row.content);
        EXPECT_EQ(ReadAll(file, row.max), row.lines) << "max " << row.max;
    }
}

// FILE_ReadStr (a line) and FILE_Read (a block): the status, message and
// code of each outcome; every exception caught is released once.
TEST(ReadLine, FailuresAndStatusesOfBothReads) {
    char buffer[8] = "#######";
    uint32_t status = 0;
    EXPECT_REPORT(FILE_ReadStr(nullptr, buffer, 7, &status), ORVIK_MSG_NO_FILE_OBJECT,
                  ORVIK_RC_NO_FILE_OBJECT, status, ORVIK_STATUS_NO_FILE_OBJECT);
    EXPECT_REPORT(FILE_Read(nullptr, buffer, 7, &status), ORVIK_MSG_NO_FILE_OBJECT,
                  ORVIK_RC_NO_FILE_OBJECT, status, ORVIK_STATUS_NO_FILE_OBJECT);
    EXPECT_EQ(buffer[0], '#') << "not touched";
    ScriptedFile file("abc\n");
    EXPECT_REPORT(FILE_ReadStr(&file, nullptr, 7, &status), ORVIK_MSG_NULL_ARGUMENT,
                  ORVIK_RC_NULL_ARGUMENT, status, ORVIK_STATUS_NO_BUFFER);
    EXPECT_REPORT(FILE_Read(&file, nullptr, 7, &status), ORVIK_MSG_NULL_ARGUMENT,
                  ORVIK_RC_NULL_ARGUMENT, status, ORVIK_STATUS_NO_BUFFER);
    EXPECT_REPORT(FILE_ReadStr(&file, buffer, 0, &status), kNoMessage, ORVIK_RC_OK, status,
                  ORVIK_STATUS_TRANSFERRED);
    EXPECT_EQ(buffer[0], '\0') << "limit 0 reads nothing";
    EXPECT_EQ(file.m_calls, "");
    constexpr uint32_t kDone = ORVIK_STATUS_TRANSFERRED, kEof = ORVIK_STATUS_END_OF_FILE;
    constexpr int32_t kEnd = ORVIK_MSG_END_OF_FILE;
    // clang-format off
    // line: FILE_ReadStr, else FILE_Read; cause -1: none thrown
    const struct { bool line; const char* content; uint32_t count; size_t throwAfter; int cause; int32_t number, code; uint32_t status; } rows[] = {
        {true, "abc\n", 7, 0, CFileException::endOfFile, kEnd, ORVIK_RC_END_OF_FILE, kEof},
        {true, "abc\n", 7, 2, CFileException::endOfFile, kNoMessage, ORVIK_RC_OK, kDone + 2},
        {true, "abc\n", 7, 2, CFileException::accessDenied, ORVIK_MSG_ACCESS_DENIED, ORVIK_RC_READ_FAILED, ORVIK_STATUS_READ_FAILED},
        {false, "ab", 4, 0, -1, kNoMessage, ORVIK_RC_OK, kDone + 2},
        {false, "", 4, 0, -1, kEnd, ORVIK_RC_END_OF_FILE, kEof},
        {false, "abc", 0, 0, -1, kEnd, ORVIK_RC_END_OF_FILE, kEof},
        {false, "abc", 4, 0, CFileException::endOfFile, kEnd, ORVIK_RC_END_OF_FILE, kEof},
    };
    // clang-format on
    for (const auto& row : rows) {
        ScriptedFile failing(row.content);
        if (row.cause >= 0) {
            failing.m_throwCause["Read"] = row.cause;
        }
        failing.m_throwAfter = row.throwAfter;
        GEN_SetRetCode(orvik::test::kNoSuchCode);
        EXPECT_REPORT(row.line ? FILE_ReadStr(&failing, buffer, row.count, &status)
                               : FILE_Read(&failing, buffer, row.count, &status),
                      row.number, row.code, status, row.status)
            << row.line << " " << row.content;
        EXPECT_EQ(orvik::test::TrackedException::s_alive, 0);
    }
    file.m_throwCause["Read"] = ScriptedFile::kForeign;
    EXPECT_THROW(FILE_ReadStr(&file, buffer, 7, &status), std::runtime_error);
}

// A host's class that leaves Read alone shares the platform's read-ahead; one
// that overrides it is owed one call per byte, so that it sees every byte.
TEST(ReadLine, HostClassesKeepTheirReadsOrShareThePlatformsSpeed) {
    struct Renamed : CFile {
        CString GetFileName() const override { return "renamed"; }
    };
    struct Counting : CFile {
        std::string counts;
        UINT Read(void* buffer, UINT count) override {
            counts += std::to_string(count);
            return CFile::Read(buffer, count);
        }
    };
    orvik::test::TempDir dir;
    const std::string name = dir.Write("lines.txt", "first\r\nsecond\n\nlast");
    Renamed renamed;
    Counting counting;
    EXPECT_TRUE(renamed.UsesPlatformRead() && CFile().UsesPlatformRead());
    EXPECT_FALSE(counting.UsesPlatformRead());
    for (CFile* file : {static_cast<CFile*>(&renamed), static_cast<CFile*>(&counting)}) {
        ASSERT_EQ(FILE_Open(file, name.c_str(), ORVIK_OPEN_READ, ORVIK_OPEN_KEEP), nullptr);
        EXPECT_EQ(ReadAll(*file, 80), "[first][second][][last]<EOF>");
    }
    EXPECT_EQ(counting.counts, std::string(21, '1')) << "19 bytes and two ends, one at a time";
}

}  // namespace
