#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "scripted_file.h"
#include "temp_dir.h"

namespace {

using orvik::test::ScriptedFile;
using orvik::test::TrackedException;

char* Text(int32_t number) {
    return number ? MSG_GetStr(number) : nullptr;
}

struct Wrapper {
    const char* operation;  // the one file-object operation it drives
    int32_t code;           // the code when that operation throws
    std::function<char*(CFile*)> call;
};

TEST(Transfer, EveryWrapperReportsNullObjectSuccessAndCaughtExceptions) {
    char buffer[16];
    uint32_t out = 0;
    // clang-format off
    const Wrapper wrappers[] = {
        {"Read", 12, [&](CFile* f) { return FILE_Read(f, buffer, 4, nullptr); }},
        {"Write", 14, [](CFile* f) { return FILE_Write(f, "abc", 3); }},
        {"Write", 14, [](CFile* f) { return FILE_WriteStr(f, "abc"); }},
        {"Seek", 16, [](CFile* f) { return FILE_Seek(f, 1, CFile::begin); }},
        {"Seek", 16, [](CFile* f) { return FILE_SeekToBegin(f); }},
        {"Seek", 16, [&](CFile* f) { return FILE_SeekToEnd(f, &out); }},
        {"SetLength", 10, [](CFile* f) { return FILE_SetLength(f, 2); }},
        {"GetLength", 15, [&](CFile* f) { return FILE_GetLength(f, &out); }},
    };
    // clang-format on
    for (const Wrapper& wrapper : wrappers) {
        SCOPED_TRACE(wrapper.operation);
        GEN_SetRetCode(77);
        EXPECT_EQ(wrapper.call(nullptr), MSG_GetStr(52000));
        EXPECT_EQ(GEN_GetRetCode(), 4);
        ScriptedFile ok("0123456789");
        EXPECT_EQ(wrapper.call(&ok), nullptr);
        EXPECT_EQ(GEN_GetRetCode(), 0);
        EXPECT_EQ(ok.m_calls, wrapper.operation);
        for (int cause :
             {CFileException::generic, CFileException::diskFull, CFileException::none}) {
            ScriptedFile failing("0123456789");
            failing.m_throwCause[wrapper.operation] = cause;
            EXPECT_EQ(wrapper.call(&failing), MSG_GetStr(52002 + cause));
            EXPECT_EQ(GEN_GetRetCode(), wrapper.code);
            EXPECT_EQ(TrackedException::s_alive, 0) << "released exactly once";
        }
        ScriptedFile foreign("0123456789");
        foreign.m_throwCause[wrapper.operation] = ScriptedFile::kForeign;
        EXPECT_THROW(wrapper.call(&foreign), std::runtime_error);
    }
}

TEST(Transfer, ReadStatusesAndCodes) {
    char buffer[8];
    // clang-format off
    const struct { const char* content; int cause; uint32_t count; int32_t number, code; uint32_t status; } rows[] = {
        {"abcdef", -1, 4, 0, 0, 104},  {"ab", -1, 4, 0, 0, 102},  {"", -1, 4, 52016, 11, 2},
        {"abc", -1, 0, 52016, 11, 2},  {"abc", CFileException::endOfFile, 4, 52016, 11, 2},
        {"abc", CFileException::hardIO, 4, 52012, 12, 3},  {"abc", 99, 4, 52017, 12, 3},
    };
    // clang-format on
    for (const auto& row : rows) {
        for (bool withStatus : {true, false}) {
            ScriptedFile file(row.content);
            if (row.cause >= 0) {
                file.m_throwCause["Read"] = row.cause;
            }
            uint32_t status = 0;
            EXPECT_EQ(FILE_Read(&file, buffer, row.count, withStatus ? &status : nullptr),
                      Text(row.number));
            EXPECT_EQ(GEN_GetRetCode(), row.code);
            EXPECT_EQ(status, withStatus ? row.status : 0u) << row.content;
        }
    }
    ScriptedFile file("abc");
    uint32_t status = 0;
    EXPECT_EQ(FILE_Read(nullptr, nullptr, 4, &status), MSG_GetStr(52000));
    EXPECT_EQ(status, 1u);
    EXPECT_EQ(FILE_Read(&file, nullptr, 4, &status), MSG_GetStr(52001));
    EXPECT_EQ(GEN_GetRetCode(), 7);
    EXPECT_EQ(status, 4u);
    EXPECT_EQ(file.m_calls, "");
}

TEST(Transfer, NullPointersAndOutValues) {
    ScriptedFile file("abc");
    for (char* message : {FILE_Write(&file, nullptr, 3), FILE_WriteStr(&file, nullptr),
                          FILE_GetLength(&file, nullptr)}) {
        EXPECT_EQ(message, MSG_GetStr(52001));
    }
    EXPECT_EQ(GEN_GetRetCode(), 7);
    EXPECT_EQ(file.m_calls, "") << "the file object is not asked";
    uint32_t value = 1234;
    EXPECT_EQ(FILE_GetLength(nullptr, &value), MSG_GetStr(52000));
    EXPECT_EQ(value, 1234u) << "left as it was";
    EXPECT_EQ(FILE_SeekToEnd(nullptr, &value), MSG_GetStr(52000));
    EXPECT_EQ(value, 0u);
    file.m_throwCause = {{"GetLength", 1}, {"Seek", 9}};
    value = 1234;
    EXPECT_EQ(FILE_GetLength(&file, &value), MSG_GetStr(52003));
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(FILE_Length(&file), 0u);
    EXPECT_EQ(GEN_GetRetCode(), 15);
    EXPECT_EQ(FILE_Length(nullptr), 0u);
    EXPECT_EQ(GEN_GetRetCode(), 4);
    value = 1234;
    EXPECT_EQ(FILE_SeekToEnd(&file, &value), MSG_GetStr(52011));
    EXPECT_EQ(value, 0u);
    ScriptedFile empty;
    EXPECT_EQ(FILE_WriteStr(&empty, ""), nullptr) << "a write of 0 bytes";
    EXPECT_EQ(empty.m_calls, "Write");
}

TEST(Transfer, RealFileRoundTrip) {
    orvik::test::TempDir dir;
    CFile file;
    ASSERT_EQ(FILE_Open(&file, (dir / "t.bin").c_str(), 2, 1), nullptr);
    EXPECT_EQ(FILE_WriteStr(&file, "0123456789"), nullptr);
    uint32_t position = 0, status = 0;
    EXPECT_EQ(FILE_SeekToEnd(&file, &position), nullptr);
    EXPECT_EQ(position, 10u);
    EXPECT_EQ(FILE_Seek(&file, -4, CFile::current), nullptr);
    char buffer[5] = {};
    EXPECT_EQ(FILE_Read(&file, buffer, 4, &status), nullptr);
    EXPECT_STREQ(buffer, "6789");
    EXPECT_EQ(FILE_Read(&file, buffer, 4, &status), MSG_GetStr(52016));
    EXPECT_EQ(FILE_Seek(&file, -1, CFile::begin), MSG_GetStr(52011));
    EXPECT_EQ(GEN_GetRetCode(), 16);
    EXPECT_EQ(FILE_SetLength(&file, 3), nullptr);
    EXPECT_EQ(FILE_Length(&file), 3u);
    EXPECT_EQ(FILE_SeekToBegin(&file), nullptr);
    EXPECT_EQ(FILE_Read(&file, buffer, 4, &status), nullptr);
    EXPECT_EQ(status, 103u);
    EXPECT_EQ(FILE_Close(&file), nullptr);
    EXPECT_EQ(FILE_Read(&file, buffer, 4, &status), MSG_GetStr(52008)) << "closed: invalid file";
    EXPECT_EQ(status, 3u);
}

}  // namespace
