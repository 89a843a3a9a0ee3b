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
using orvik::test::TempDir;
using orvik::test::TrackedException;

class Transfer : public ::testing::Test {
protected:
    void SetUp() override { GEN_SetRetCode(77); }
    void TearDown() override { EXPECT_EQ(TrackedException::s_alive, 0) << "exception leaked"; }
};

// A wrapper call on a file object, for tables.
struct Wrapper {
    const char* name;
    const char* operation;  // the file-object operation it drives
    int32_t code;           // the code when that operation throws
    std::function<char*(CFile*)> call;
};

const std::vector<Wrapper>& Wrappers() {
    static char buffer[16];
    static uint32_t out;
    static const std::vector<Wrapper> wrappers = {
        {"Read", "Read", 12, [](CFile* f) { return FILE_Read(f, buffer, 4, nullptr); }},
        {"Write", "Write", 14, [](CFile* f) { return FILE_Write(f, "abc", 3); }},
        {"WriteStr", "Write", 14, [](CFile* f) { return FILE_WriteStr(f, "abc"); }},
        {"Seek", "Seek", 16, [](CFile* f) { return FILE_Seek(f, 1, CFile::begin); }},
        {"SeekToBegin", "Seek", 16, [](CFile* f) { return FILE_SeekToBegin(f); }},
        {"SeekToEnd", "Seek", 16, [](CFile* f) { return FILE_SeekToEnd(f, &out); }},
        {"SetLength", "SetLength", 10, [](CFile* f) { return FILE_SetLength(f, 2); }},
        {"GetLength", "GetLength", 15, [](CFile* f) { return FILE_GetLength(f, &out); }},
    };
    return wrappers;
}

TEST_F(Transfer, EveryWrapperReportsNullObjectSuccessAndCaughtException) {
    for (const Wrapper& wrapper : Wrappers()) {
        SCOPED_TRACE(wrapper.name);
        GEN_SetRetCode(77);
        EXPECT_EQ(wrapper.call(nullptr), MSG_GetStr(52000));
        EXPECT_EQ(GEN_GetRetCode(), 4);

        ScriptedFile ok("0123456789");
        GEN_SetRetCode(77);
        EXPECT_EQ(wrapper.call(&ok), nullptr);
        EXPECT_EQ(GEN_GetRetCode(), 0);
        EXPECT_EQ(ok.Calls(), wrapper.operation) << "one call of its operation";

        for (int cause : {CFileException::generic, CFileException::diskFull,
                          CFileException::badSeek, CFileException::accessDenied}) {
            ScriptedFile failing("0123456789");
            failing.m_throwCause[wrapper.operation] = cause;
            EXPECT_EQ(wrapper.call(&failing), MSG_GetStr(52002 + cause));
            EXPECT_EQ(GEN_GetRetCode(), wrapper.code);
        }
        ScriptedFile foreign("0123456789");
        foreign.m_throwCause[wrapper.operation] = ScriptedFile::kForeign;
        EXPECT_THROW(wrapper.call(&foreign), std::runtime_error);
    }
}

TEST_F(Transfer, ReadStatusesAndCodes) {
    char buffer[8];
    uint32_t status = 0;
    const struct {
        const char* content;
        int throwCause;  // -1 none
        uint32_t count;
        int32_t number;  // 0 for success
        int32_t code;
        uint32_t status;
    } rows[] = {
        {"abcdef", -1, 4, 0, 0, 104},
        {"ab", -1, 4, 0, 0, 102},
        {"", -1, 4, 52016, 11, 2},
        {"abc", -1, 0, 52016, 11, 2},
        {"abc", CFileException::endOfFile, 4, 52016, 11, 2},
        {"abc", CFileException::hardIO, 4, 52012, 12, 3},
        {"abc", CFileException::none, 4, 52002, 12, 3},
    };
    for (const auto& row : rows) {
        ScriptedFile file(row.content);
        if (row.throwCause >= 0) {
            file.m_throwCause["Read"] = row.throwCause;
        }
        char* message = FILE_Read(&file, buffer, row.count, &status);
        EXPECT_EQ(message, row.number ? MSG_GetStr(row.number) : nullptr) << row.content;
        EXPECT_EQ(GEN_GetRetCode(), row.code);
        EXPECT_EQ(status, row.status);
        ScriptedFile again(row.content);
        again.m_throwCause = file.m_throwCause;
        EXPECT_EQ(FILE_Read(&again, buffer, row.count, nullptr), message) << "no status pointer";
    }
    ScriptedFile file("abc");
    EXPECT_EQ(FILE_Read(nullptr, nullptr, 4, &status), MSG_GetStr(52000));
    EXPECT_EQ(status, 1u);
    EXPECT_EQ(FILE_Read(&file, nullptr, 4, &status), MSG_GetStr(52001));
    EXPECT_EQ(GEN_GetRetCode(), 7);
    EXPECT_EQ(status, 4u);
    EXPECT_EQ(file.Calls(), "");
}

TEST_F(Transfer, NullPointersAndOutValues) {
    ScriptedFile file("abc");
    EXPECT_EQ(FILE_Write(&file, nullptr, 3), MSG_GetStr(52001));
    EXPECT_EQ(GEN_GetRetCode(), 7);
    EXPECT_EQ(FILE_WriteStr(&file, nullptr), MSG_GetStr(52001));
    EXPECT_EQ(FILE_GetLength(&file, nullptr), MSG_GetStr(52001));
    EXPECT_EQ(GEN_GetRetCode(), 7);
    EXPECT_EQ(file.Calls(), "") << "the file object is not asked";

    uint32_t value = 1234;
    EXPECT_EQ(FILE_GetLength(nullptr, &value), MSG_GetStr(52000));
    EXPECT_EQ(value, 1234u) << "left as it was";
    EXPECT_EQ(FILE_SeekToEnd(nullptr, &value), MSG_GetStr(52000));
    EXPECT_EQ(value, 0u);
    file.m_throwCause["GetLength"] = CFileException::generic;
    value = 1234;
    EXPECT_NE(FILE_GetLength(&file, &value), nullptr);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(FILE_Length(&file), 0u);
    EXPECT_EQ(GEN_GetRetCode(), 15);
    EXPECT_EQ(FILE_Length(nullptr), 0u);
    EXPECT_EQ(GEN_GetRetCode(), 4);
    file.m_throwCause["Seek"] = CFileException::badSeek;
    value = 1234;
    EXPECT_EQ(FILE_SeekToEnd(&file, &value), MSG_GetStr(52011));
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(FILE_SeekToEnd(&file, nullptr), MSG_GetStr(52011));
}

TEST_F(Transfer, WriteStrWritesTheTextWithoutItsZero) {
    ScriptedFile file;
    EXPECT_EQ(FILE_WriteStr(&file, "hello"), nullptr);
    EXPECT_EQ(FILE_WriteStr(&file, ""), nullptr) << "an empty text is a write of 0 bytes";
    EXPECT_EQ(file.m_content, "hello");
    EXPECT_EQ(file.Calls(), "Write Write");
}

TEST_F(Transfer, RealFileRoundTrip) {
    TempDir dir;
    CFile file;
    ASSERT_EQ(FILE_Open(&file, (dir / "t.bin").c_str(), 2, 1), nullptr);
    EXPECT_EQ(FILE_Length(&file), 0u);
    EXPECT_EQ(GEN_GetRetCode(), 0);
    EXPECT_EQ(FILE_WriteStr(&file, "0123456789"), nullptr);
    uint32_t position = 0;
    EXPECT_EQ(FILE_SeekToEnd(&file, &position), nullptr);
    EXPECT_EQ(position, 10u);
    EXPECT_EQ(FILE_Seek(&file, -4, CFile::current), nullptr);
    char buffer[5] = {};
    uint32_t status = 0;
    EXPECT_EQ(FILE_Read(&file, buffer, 4, &status), nullptr);
    EXPECT_EQ(status, 104u);
    EXPECT_STREQ(buffer, "6789");
    EXPECT_EQ(FILE_Read(&file, buffer, 4, &status), MSG_GetStr(52016));
    EXPECT_EQ(status, 2u);
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
