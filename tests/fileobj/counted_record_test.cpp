#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "scripted_file.h"
#include "temp_dir.h"

namespace {

using orvik::test::ScriptedFile;
using namespace std::string_literals;

// The bytes of a little-endian 32-bit length field.
std::string Field(int32_t length) {
    const auto bits = static_cast<uint32_t>(length);
    return {char(bits), char(bits >> 8), char(bits >> 16), char(bits >> 24)};
}

std::string Letters(size_t n) {
    std::string text(n, 'a');
    for (size_t i = 0; i < n; ++i) {
        text[i] = static_cast<char>('a' + i % 26);
    }
    return text;
}

TEST(CountedRecord, WriterLayoutByteForByte) {
    const std::string l512 = Letters(512), l513 = Letters(513), l600 = Letters(600);
    // clang-format off
    const struct { const char* text; std::string bytes; } rows[] = {
        {nullptr, Field(0)}, {"", Field(0)}, {"abc", "\x04\0\0\0abc\0"s}, {"x", Field(2) + "x\0"s},
        {l512.c_str(), Field(513) + l512 + "\0"s}, {l513.c_str(), Field(513) + l513},
        {l600.c_str(), Field(513) + l513},
    };
    // clang-format on
    for (const auto& row : rows) {
        ScriptedFile file;
        GEN_SetRetCode(77);
        EXPECT_EQ(FILE_WriteCString(&file, row.text), nullptr);
        EXPECT_EQ(GEN_GetRetCode(), 0);
        EXPECT_EQ(file.m_content, row.bytes) << (row.text ? row.text : "null");
    }
}

TEST(CountedRecord, ReaderTakesWhatTheFieldAnnounces) {
    const std::string next = "NEXT";
    // clang-format off
    const struct { std::string bytes, text, unread; } rows[] = {
        {Field(0) + next, "", next},  {Field(-5) + next, "", next},  {Field(INT32_MIN) + next, "", next},
        {Field(1) + "z" + next, "", next},
        {Field(4) + "abc\0"s + next, "abc", next},
        {Field(4) + "abcd" + next, "abc", next},           // the last body byte never counts
        {Field(6) + "ab\0cd\0"s + next, "ab", next},       // up to the first zero
        {Field(513) + Letters(513) + next, Letters(512), next},
        {Field(600) + Letters(600) + next, Letters(512), Letters(600).substr(513) + next},
    };
    // clang-format on
    for (const auto& row : rows) {
        ScriptedFile file(row.bytes);
        char* text = nullptr;
        GEN_SetRetCode(77);
        EXPECT_EQ(FILE_ReadCString(&file, &text), nullptr);
        EXPECT_EQ(GEN_GetRetCode(), 0);
        EXPECT_EQ(std::string(text), row.text);
        EXPECT_EQ(file.m_content.substr(file.m_position), row.unread);
    }
    ScriptedFile pipe(Field(4) + "abc\0"s);
    pipe.m_chunk = 1;  // delivered in pieces, as a pipe may
    char* text = nullptr;
    EXPECT_EQ(FILE_ReadCString(&pipe, &text), nullptr);
    EXPECT_STREQ(text, "abc");
}

TEST(CountedRecord, EndAndTruncationAreFailuresNeverWholeRecords) {
    // clang-format off
    const struct { std::string bytes, text; } rows[] = {
        {"", ""}, {"\x05\0"s, ""}, {Field(5), ""}, {Field(5) + "ab", "ab"},  // what came is kept
    };
    // clang-format on
    for (const auto& row : rows) {
        ScriptedFile file(row.bytes);
        char* text = nullptr;
        EXPECT_EQ(FILE_ReadCString(&file, &text), MSG_GetStr(52016)) << row.bytes.size();
        EXPECT_EQ(GEN_GetRetCode(), 11);
        EXPECT_EQ(std::string(text), row.text);
    }
    ScriptedFile writer, reader(Field(4) + "abc\0"s);
    writer.m_throwCause["Write"] = CFileException::diskFull;
    EXPECT_EQ(FILE_WriteCString(&writer, "abc"), MSG_GetStr(52015));
    EXPECT_EQ(GEN_GetRetCode(), 14);
    EXPECT_EQ(writer.m_calls, "Write!") << "no body after a failed field";
    reader.m_throwCause["Read"] = CFileException::hardIO;
    reader.m_throwAfter = 1;  // the field comes, the body fails
    char* text = nullptr;
    EXPECT_EQ(FILE_ReadCString(&reader, &text), MSG_GetStr(52012));
    EXPECT_EQ(GEN_GetRetCode(), 12);
}

TEST(CountedRecord, ClosedOrNullObjectLeavesTheCodeAndStillHandsOutTheBuffer) {
    ScriptedFile closed("", false);
    for (CFile* file : {static_cast<CFile*>(nullptr), static_cast<CFile*>(&closed)}) {
        GEN_SetRetCode(13);
        EXPECT_EQ(FILE_WriteCString(file, "abc"), MSG_GetStr(52000));
        char* text = nullptr;
        EXPECT_EQ(FILE_ReadCString(file, &text), MSG_GetStr(52000));
        EXPECT_EQ(GEN_GetRetCode(), 13);
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text, "");
    }
    EXPECT_EQ(closed.m_calls, "");
    ScriptedFile file(Field(2) + "q\0"s);
    EXPECT_EQ(FILE_ReadCString(&file, nullptr), nullptr) << "no text pointer is fine";
}

TEST(CountedRecord, RealFileRoundTrip) {
    orvik::test::TempDir dir;
    const std::string texts[] = {"", "one", Letters(512), Letters(700), "\xE9t\xE9"};
    CFile file;
    ASSERT_EQ(FILE_Open(&file, (dir / "records.bin").c_str(), 2, 1), nullptr);
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
    FILE_Close(&file);
    EXPECT_EQ(dir.Read("records.bin").substr(0, 15),
              Field(0) + Field(4) + "one\0"s + Field(513).substr(0, 3));
}

TEST(CountedRecord, EachThreadReadsIntoItsOwnBuffer) {
    orvik::test::TempDir dir;
    constexpr int kThreads = 8, kRecords = 300;
    for (int t = 0; t < kThreads; ++t) {
        std::string bytes;
        for (int i = 0; i < kRecords; ++i) {
            const std::string text = std::to_string(t) + Letters(static_cast<size_t>(i % 40));
            bytes += Field(static_cast<int32_t>(text.size() + 1)) + text + '\0';
        }
        dir.Write(std::to_string(t), bytes);
    }
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < kThreads; ++t) {
        readers.emplace_back([&, t] {
            char* text = nullptr;
            FILE_ReadCString(nullptr, &text);
            wrong += std::count(text, text + 513, '\0') != 513;  // all zero at the start
            CFile file;
            FILE_Open(&file, (dir / std::to_string(t)).c_str(), 0, 0);
            for (int i = 0; i < kRecords; ++i) {
                FILE_ReadCString(&file, &text);
                wrong += std::to_string(t) + Letters(static_cast<size_t>(i % 40)) != text;
            }
        });
    }
    for (std::thread& reader : readers) {
        reader.join();
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
