// FILE_WriteCString and FILE_ReadCString against an independent spelling of
// the record layout (record_bytes.h): a little-endian length L that counts
// the text's zero, then L bytes, of which at most 513 are written or read.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "OrvikFILE_Lib.h"
#include "record_bytes.h"
#include "report_check.h"
#include "scripted_file.h"

namespace {

using orvik::test::Field;
using orvik::test::kNoMessage;
using orvik::test::Record;
using orvik::test::ScriptedFile;
using namespace std::string_literals;

std::string Letters(size_t n, char first = 'a') {
    std::string text(n, 'a');
    for (size_t i = 0; i < n; ++i) {
        text[i] = static_cast<char>(static_cast<size_t>(first) + i % 26);
    }
    return text;
}

TEST(CountedRecord, WriterLayoutByteForByte) {
    const std::string l512 = Letters(512), l513 = Letters(513);
    const std::pair<const char*, std::string> rows[] = {
        {nullptr, Field(0)},
        {"abc", "\x04\0\0\0abc\0"s},
        {l512.c_str(), Record(l512)},
        {l513.c_str(), Field(513) + l513},
    };
    for (const auto& [text, bytes] : rows) {
        ScriptedFile file;
        GEN_SetRetCode(orvik::test::kNoSuchCode);
        EXPECT_REPORT(FILE_WriteCString(&file, text), kNoMessage, ORVIK_RC_OK);
        EXPECT_EQ(file.m_content, bytes) << (text ? text : "null");
    }
}

// The end of the file inside a record is a failure, so that a record cut
// short is never taken for a whole one; what came of its body is kept.
TEST(CountedRecord, ReaderTakesWhatTheFieldAnnounces) {
    const std::string next = "NEXT";
    constexpr int32_t kEnd = ORVIK_MSG_END_OF_FILE;
    // clang-format off
    const struct { std::string bytes, text, unread; int32_t message = kNoMessage; } rows[] = {
        {Field(0) + next, "", next},
        {Field(INT32_MIN) + next, "", next},
        {Record("abc") + next, "abc", next},
        {Field(4) + "abcd" + next, "abc", next},      // the last body byte never counts
        {Field(6) + "ab\0cd\0"s + next, "ab", next},  // up to the first zero
        {Record(Letters(511)) + next, Letters(511), next},
        {Field(513) + Letters(513) + next, Letters(512), next},
        {Field(600) + Letters(600) + next, Letters(512), Letters(600).substr(513) + next},
        {"", "", "", kEnd},
        {"\x05\0"s, "", "", kEnd},
        {Field(5), "", "", kEnd},
        {Field(5) + "ab", "ab", "", kEnd},
    };
    // clang-format on
    for (const auto& row : rows) {
        ScriptedFile file(row.bytes);
        file.m_chunk = 3;  // delivered in pieces, as a pipe may
        char* text = nullptr;
        GEN_SetRetCode(orvik::test::kNoSuchCode);
        EXPECT_REPORT(FILE_ReadCString(&file, &text), row.message,
                      row.message == kEnd ? ORVIK_RC_END_OF_FILE : ORVIK_RC_OK);
        EXPECT_EQ(std::string(text), row.text);
        EXPECT_EQ(file.m_content.substr(file.m_position), row.unread);
    }
    ScriptedFile failing(Record("abc"));
    failing.m_throwCause["Read"] = CFileException::hardIO;
    failing.m_throwAfter = 1;  // the field comes, the body fails
    char* text = nullptr;
    EXPECT_REPORT(FILE_ReadCString(&failing, &text), ORVIK_MSG_HARD_IO, ORVIK_RC_READ_FAILED);
}

TEST(CountedRecord, ClosedOrNullObjectLeavesTheCodeAndStillHandsOutTheBuffer) {
    ScriptedFile closed("", false);
    for (CFile* file : {static_cast<CFile*>(nullptr), static_cast<CFile*>(&closed)}) {
        GEN_SetRetCode(ORVIK_RC_OPEN_FAILED);
        EXPECT_REPORT(FILE_WriteCString(file, "abc"), ORVIK_MSG_NO_FILE_OBJECT,
                      ORVIK_RC_OPEN_FAILED);
        char* text = nullptr;
        EXPECT_REPORT(FILE_ReadCString(file, &text), ORVIK_MSG_NO_FILE_OBJECT,
                      ORVIK_RC_OPEN_FAILED);
        EXPECT_STREQ(text, "");
    }
    EXPECT_EQ(closed.m_calls, "");
    ScriptedFile file(Record("q"));
    EXPECT_REPORT(FILE_ReadCString(&file, nullptr), kNoMessage, ORVIK_RC_OK);
}

// No other thread's record lands in a thread's record buffer.
TEST(CountedRecord, EachThreadReadsIntoItsOwnBuffer) {
    ScriptedFile mine(Record("mine")), theirs(Record("theirs"));
    char *text = nullptr, *other = nullptr;
    FILE_ReadCString(&mine, &text);
    std::thread([&] { FILE_ReadCString(&theirs, &other); }).join();
    EXPECT_NE(other, text);
    EXPECT_STREQ(text, "mine");
}

}  // namespace
