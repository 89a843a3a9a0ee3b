// The reporting of the wrappers of the file object's transfers and close,
// against scripted file objects: what the file object does with a real file
// is the platform's own test.
#include <gtest/gtest.h>

#include <functional>

#include "OrvikFILE_Lib.h"
#include "report_check.h"
#include "scripted_file.h"

namespace {

using orvik::test::kNoMessage;
using orvik::test::ScriptedFile;

TEST(Transfer, EveryWrapperReportsNullObjectSuccessAndCaughtExceptions) {
    char buffer[16];
    uint32_t out = 0;
    // clang-format off
    // operation: the one file-object operation it drives
    // code: the code when that operation throws
    // position: where the file stands after success, from 5 of 10 bytes
    const struct { const char* operation; int32_t code; size_t position; std::function<char*(CFile*)> call; } wrappers[] = {
        {"Read", ORVIK_RC_READ_FAILED, 9, [&](CFile* f) { return FILE_Read(f, buffer, 4, nullptr); }},
        {"Write", ORVIK_RC_WRITE_FAILED, 8, [](CFile* f) { return FILE_Write(f, "abc", 3); }},
        {"Write", ORVIK_RC_WRITE_FAILED, 8, [](CFile* f) { return FILE_WriteStr(f, "abc"); }},
        {"Seek", ORVIK_RC_SEEK_FAILED, 1, [](CFile* f) { return FILE_Seek(f, 1, CFile::begin); }},
        {"Seek", ORVIK_RC_SEEK_FAILED, 0, [](CFile* f) { return FILE_SeekToBegin(f); }},
        {"Seek", ORVIK_RC_SEEK_FAILED, 10, [&](CFile* f) { return FILE_SeekToEnd(f, &out); }},
        {"SetLength", ORVIK_RC_SET_LENGTH_FAILED, 5, [](CFile* f) { return FILE_SetLength(f, 2); }},
        {"GetLength", ORVIK_RC_GET_LENGTH_FAILED, 5, [&](CFile* f) { return FILE_GetLength(f, &out); }},
        {"Close", ORVIK_RC_CLOSE_FAILED, 5, [](CFile* f) { return FILE_Close(f); }},
    };
    // clang-format on
    for (const auto& wrapper : wrappers) {
        SCOPED_TRACE(wrapper.operation);
        GEN_SetRetCode(orvik::test::kNoSuchCode);
        EXPECT_REPORT(wrapper.call(nullptr), ORVIK_MSG_NO_FILE_OBJECT, ORVIK_RC_NO_FILE_OBJECT);
        ScriptedFile ok("0123456789");
        ok.m_position = 5;
        EXPECT_REPORT(wrapper.call(&ok), kNoMessage, ORVIK_RC_OK);
        EXPECT_EQ(ok.m_calls, wrapper.operation);
        EXPECT_EQ(ok.m_position, wrapper.position);
        for (const int cause :
             {int{CFileException::diskFull}, int{CFileException::none}, ScriptedFile::kForeign}) {
            ScriptedFile failing("0123456789");
            failing.m_throwCause[wrapper.operation] = cause;
            if (cause == ScriptedFile::kForeign) {
                EXPECT_THROW(wrapper.call(&failing), std::runtime_error);
            } else {
                EXPECT_REPORT(wrapper.call(&failing), ORVIK_MSG_CAUSE_BASE + cause, wrapper.code);
            }
            EXPECT_EQ(orvik::test::TrackedException::s_alive, 0) << "released exactly once";
        }
    }
}

// A failed length or seek to the end hands out 0; a null object leaves the value.
TEST(Transfer, LengthsAndOutValues) {
    ScriptedFile file("abc");
    EXPECT_REPORT(FILE_Write(&file, nullptr, 3), ORVIK_MSG_NULL_ARGUMENT, ORVIK_RC_NULL_ARGUMENT);
    EXPECT_REPORT(FILE_WriteStr(&file, nullptr), ORVIK_MSG_NULL_ARGUMENT, ORVIK_RC_NULL_ARGUMENT);
    EXPECT_REPORT(FILE_GetLength(&file, nullptr), ORVIK_MSG_NULL_ARGUMENT, ORVIK_RC_NULL_ARGUMENT);
    EXPECT_EQ(file.m_calls, "") << "the file object is not asked";
    uint32_t value = 1234;
    FILE_GetLength(nullptr, &value);
    EXPECT_EQ(value, 1234u);
    EXPECT_EQ(FILE_Length(&file), 3u);
    file.m_throwCause = {{"GetLength", CFileException::generic}, {"Seek", CFileException::badSeek}};
    EXPECT_REPORT(FILE_GetLength(&file, &value), ORVIK_MSG_GENERIC, ORVIK_RC_GET_LENGTH_FAILED);
    EXPECT_EQ(value + FILE_Length(&file), 0u);
    value = 1234;
    EXPECT_REPORT(FILE_SeekToEnd(&file, &value), ORVIK_MSG_BAD_SEEK, ORVIK_RC_SEEK_FAILED);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(FILE_Length(nullptr), 0u);
    EXPECT_EQ(GEN_GetRetCode(), ORVIK_RC_NO_FILE_OBJECT);
}

}  // namespace
