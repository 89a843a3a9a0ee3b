#include <gtest/gtest.h>

#include <cstring>
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

// The bytes of a little-endian 32-bit length field.
std::string Field(int32_t length) {
    const auto bits = static_cast<uint32_t>(length);
    return {char(bits), char(bits >> 8), char(bits >> 16), char(bits >> 24)};
}

std::string Letters(size_t n) {
    std::string text;
    for (size_t i = 0; i < n; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    return text;
}

TEST(CountedRecord, WriterLayoutByteForByte) {
    const struct {
        const char* text;
        std::string bytes;
    } rows[] = {
        {nullptr, Field(0)},
        {"", Field(0)},
        {"abc", std::string("\x04\0\0\0abc\0", 8)},
        {"x", Field(2) + std::string("x\0", 2)},
    };
    for (const auto& row : rows) {
        ScriptedFile file;
        EXPECT_EQ(FILE_WriteCString(&file, row.text), nullptr);
        EXPECT_EQ(GEN_GetRetCode(), 0);
        EXPECT_EQ(file.m_content, row.bytes) << (row.text ? row.text : "null");
    }
    for (size_t n : {511u, 512u, 513u, 600u}) {
        ScriptedFile file;
        const std::string text = Letters(n);
        FILE_WriteCString(&file, text.c_str());
        const std::string body = n <= 512 ? text + std::string(1, '\0') : text.substr(0, 513);
        EXPECT_EQ(file.m_content, Field(static_cast<int32_t>(body.size())) + body) << n;
    }
}

TEST(CountedRecord, ReaderTakesWhatTheFieldAnnounces) {
    const std::string tail = "NEXT";
    const struct {
        std::string bytes;
        std::string text;
        std::string unread;  // what stays in the file afterwards
    } rows[] = {
        {Field(0) + tail, "", tail},
        {Field(-5) + tail, "", tail},
        {Field(INT32_MIN) + tail, "", tail},
        {Field(1) + "z" + tail, "", tail},
        {Field(4) + std::string("abc\0", 4) + tail, "abc", tail},
        {Field(4) + "abcd" + tail, "abc", tail},                     // the last byte is cut
        {Field(6) + std::string("ab\0cd\0", 6) + tail, "ab", tail},  // up to the first zero
        {Field(513) + Letters(513) + tail, Letters(512), tail},
        {Field(600) + Letters(600) + tail, Letters(512), Letters(600).substr(513) + tail},
    };
    for (const auto& row : rows) {
        ScriptedFile file(row.bytes);
        char* text = nullptr;
        GEN_SetRetCode(77);
        EXPECT_EQ(FILE_ReadCString(&file, &text), nullptr);
        EXPECT_EQ(GEN_GetRetCode(), 0);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::string(text), row.text);
        EXPECT_EQ(file.m_content.substr(file.m_position), row.unread);
    }
}

TEST(CountedRecord, EndOfFileAndTruncatedRecordsAreFailures) {
    const struct {
        std::string bytes;
        std::string text;
    } rows[] = {
        {"", ""},                        // clean end: no record at all
        {std::string("\x05\0", 2), ""},  // field cut short
        {Field(5), ""},                  // no body
        {Field(5) + "ab", "ab"},         // body cut short: what came is kept
    };
    for (const auto& row : rows) {
        ScriptedFile file(row.bytes);
        char* text = nullptr;
        EXPECT_EQ(FILE_ReadCString(&file, &text), MSG_GetStr(52016)) << row.bytes.size();
        EXPECT_EQ(GEN_GetRetCode(), 11);
        EXPECT_EQ(std::string(text), row.text);
    }
}

TEST(CountedRecord, PiecewiseDeliveryStillReadsWholeRecords) {
    ScriptedFile file(Field(4) + std::string("abc\0", 4));
    file.m_chunk = 1;  // as a pipe might deliver it
    char* text = nullptr;
    EXPECT_EQ(FILE_ReadCString(&file, &text), nullptr);
    EXPECT_STREQ(text, "abc");
}

TEST(CountedRecord, ClosedOrNullObjectLeavesTheCode) {
    ScriptedFile closed("", false);
    char* text = nullptr;
    for (CFile* file : {static_cast<CFile*>(nullptr), static_cast<CFile*>(&closed)}) {
        GEN_SetRetCode(13);
        EXPECT_EQ(FILE_WriteCString(file, "abc"), MSG_GetStr(52000));
        EXPECT_EQ(GEN_GetRetCode(), 13);
        text = nullptr;
        EXPECT_EQ(FILE_ReadCString(file, &text), MSG_GetStr(52000));
        EXPECT_EQ(GEN_GetRetCode(), 13);
        ASSERT_NE(text, nullptr) << "the record buffer is handed out on every path";
        EXPECT_STREQ(text, "");
    }
    EXPECT_EQ(closed.Calls(), "");
    ScriptedFile file(Field(2) + std::string("q\0", 2));
    EXPECT_EQ(FILE_ReadCString(&file, nullptr), nullptr) << "no text pointer is fine";
}

TEST(CountedRecord, FailuresComeFromReadAndWrite) {
    ScriptedFile writer;
    writer.m_throwCause["Write"] = CFileException::diskFull;
    EXPECT_EQ(FILE_WriteCString(&writer, "abc"), MSG_GetStr(52015));
    EXPECT_EQ(GEN_GetRetCode(), 14);
    EXPECT_EQ(writer.Calls(), "Write!") << "no body after a failed field";

    ScriptedFile reader(Field(4) + std::string("abc\0", 4));
    reader.m_throwCause["Read"] = CFileException::hardIO;
    reader.m_throwAfter = 1;  // the field comes, the body fails
    char* text = nullptr;
    EXPECT_EQ(FILE_ReadCString(&reader, &text), MSG_GetStr(52012));
    EXPECT_EQ(GEN_GetRetCode(), 12);
    EXPECT_EQ(TrackedException::s_alive, 0);
}

TEST(CountedRecord, RealFileRoundTripInTheRecordBuffer) {
    TempDir dir;
    const std::string name = dir / "records.bin";
    const std::string texts[] = {"", "one", Letters(512), Letters(700), "\xE9t\xE9"};
    CFile file;
    ASSERT_EQ(FILE_Open(&file, name.c_str(), 2, 1), nullptr);
    for (const std::string& text : texts) {
        ASSERT_EQ(FILE_WriteCString(&file, text.c_str()), nullptr);
    }
    ASSERT_EQ(FILE_SeekToBegin(&file), nullptr);
    char* text = nullptr;
    for (const std::string& expected : texts) {
        ASSERT_EQ(FILE_ReadCString(&file, &text), nullptr);
        EXPECT_EQ(std::string(text), expected.substr(0, 512));
    }
    EXPECT_EQ(FILE_ReadCString(&file, &text), MSG_GetStr(52016));
    EXPECT_EQ(GEN_GetRetCode(), 11);
    FILE_Close(&file);
    EXPECT_EQ(dir.Read("records.bin").substr(0, 15),
              Field(0) + Field(4) + std::string("one\0", 4) + Field(513).substr(0, 3));
}

}  // namespace
