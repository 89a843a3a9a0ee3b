#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "scripted_file.h"
#include "temp_dir.h"

namespace {

using orvik::test::ScriptedFile;

// Reads lines until the end of the file, each into a heap buffer of exactly
// max + 1 bytes so that the sanitizer catches a write past it, and writes
// them as "[line]" and the end as "<EOF status,code>".
std::string ReadAll(CFile& file, uint32_t max) {
    std::string out;
    for (int i = 0; i < 50; ++i) {
        const auto buffer = std::make_unique<char[]>(max + 1);
        uint32_t status = 0;
        if (char* message = FILE_ReadStr(&file, buffer.get(), max, &status)) {
            EXPECT_EQ(message, MSG_GetStr(52016));
            EXPECT_EQ(buffer[0], '\0');
            return out + "<EOF " + std::to_string(status) + "," + std::to_string(GEN_GetRetCode()) +
                   ">";
        }
        EXPECT_EQ(GEN_GetRetCode(), 0);
        EXPECT_EQ(buffer[status - 100], '\0') << "terminated at the status length";
        out += "[" + std::string(buffer.get(), status - 100) + "]";
    }
    return out;
}

TEST(ReadLine, SplitsContentIntoLines) {
    using namespace std::string_literals;
    // clang-format off
    const struct { std::string content; uint32_t max; std::string lines; } rows[] = {
        {"a\r\n", 10, "[a]<EOF 2,11>"},
        {"one\ntwo\n", 10, "[one][two]<EOF 2,11>"},
        {"last without LF", 100, "[last without LF]<EOF 2,11>"},
        {"", 10, "<EOF 2,11>"},
        {"\n\r\n\n", 10, "[][][]<EOF 2,11>"},
        {"cr\rinside\r", 20, "[cr\rinside\r]<EOF 2,11>"},
        {"abcd\nx", 4, "[abcd][][x]<EOF 2,11>"},      // exactly max, then its LF
        {"abcd\r\nx", 4, "[abcd][][x]<EOF 2,11>"},    // cut before CR LF
        {"abc\r\nx", 4, "[abc\r][][x]<EOF 2,11>"},    // cut between CR and LF
        {"abcdefghij\n", 3, "[abc][def][ghi][j]<EOF 2,11>"},
        {"a\0b\n"s, 10, "[a\0b]<EOF 2,11>"s},         // a zero byte is counted
        {"\xFF\xFE\n", 5, "[\xFF\xFE]<EOF 2,11>"},
    };
    // clang-format on
    for (const auto& row : rows) {
        ScriptedFile file(row.content);
        EXPECT_EQ(ReadAll(file, row.max), row.lines) << "max " << row.max;
    }
}

TEST(ReadLine, OneReadPerByteAndNothingPastTheLine) {
    ScriptedFile file("ab\ncd\n");
    char buffer[8] = "#";
    uint32_t status = 0;
    EXPECT_EQ(FILE_ReadStr(&file, buffer, 0, &status), nullptr) << "limit 0 reads nothing";
    EXPECT_EQ(status, 100u);
    EXPECT_EQ(buffer[0], '\0');
    FILE_ReadStr(&file, buffer, 7, &status);
    EXPECT_EQ(file.m_calls, "Read Read Read");
    EXPECT_EQ(file.m_position, 3u) << "stops right after the LF";
}

TEST(ReadLine, Failures) {
    char buffer[8] = "#######";
    uint32_t status = 0;
    EXPECT_EQ(FILE_ReadStr(nullptr, buffer, 7, &status), MSG_GetStr(52000));
    EXPECT_EQ(GEN_GetRetCode() * 10 + status, 41u);
    EXPECT_EQ(buffer[0], '#') << "not touched";
    ScriptedFile file("abc\n");
    EXPECT_EQ(FILE_ReadStr(&file, nullptr, 7, &status), MSG_GetStr(52001));
    EXPECT_EQ(GEN_GetRetCode() * 10 + status, 74u);
    // clang-format off
    const struct { size_t throwAfter; int cause; int32_t number, code; uint32_t status; } rows[] = {
        {0, CFileException::endOfFile, 52016, 11, 2}, {2, CFileException::endOfFile, 0, 0, 102},
        {0, CFileException::hardIO, 52012, 12, 3},    {2, CFileException::accessDenied, 52007, 12, 3},
        {1, 99, 52017, 12, 3},
    };
    // clang-format on
    for (const auto& row : rows) {
        ScriptedFile failing("abc\n");
        failing.m_throwCause["Read"] = row.cause;
        failing.m_throwAfter = row.throwAfter;
        GEN_SetRetCode(77);
        EXPECT_EQ(FILE_ReadStr(&failing, buffer, 7, &status),
                  row.number ? MSG_GetStr(row.number) : nullptr);
        EXPECT_EQ(GEN_GetRetCode(), row.code);
        EXPECT_EQ(status, row.status) << row.cause;
        EXPECT_EQ(orvik::test::TrackedException::s_alive, 0);
    }
    file.m_throwCause["Read"] = ScriptedFile::kForeign;
    EXPECT_THROW(FILE_ReadStr(&file, buffer, 7, &status), std::runtime_error);
}

TEST(ReadLine, RealFileWithMixedLineEnds) {
    orvik::test::TempDir dir;
    CFile file;
    ASSERT_EQ(FILE_Open(&file, dir.Write("lines.txt", "first\r\nsecond\n\nlast").c_str(), 0, 0),
              nullptr);
    EXPECT_EQ(ReadAll(file, 80), "[first][second][][last]<EOF 2,11>");
    EXPECT_EQ(ReadAll(file, 80), "<EOF 2,11>") << "and stays at the end";
}

TEST(ReadLine, HostClassesKeepTheirReadsOrShareThePlatformsSpeed) {
    struct Renamed : CFile {  // overrides something, but not Read
        CString GetFileName() const override { return "renamed"; }
    };
    struct Counting : CFile {  // overrides Read: owed one call per byte
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
        ASSERT_EQ(FILE_Open(file, name.c_str(), 0, 0), nullptr);
        EXPECT_EQ(ReadAll(*file, 80), "[first][second][][last]<EOF 2,11>");
    }
    EXPECT_EQ(counting.counts, std::string(21, '1')) << "19 bytes and two ends, one at a time";
}

TEST(ReadLine, ANullThrownForAnExceptionIsAFailureWithoutAText) {
    struct NullThrower : CFile {
        UINT Read(void*, UINT) override { throw static_cast<CFileException*>(nullptr); }
    } file;
    char line[4];
    uint32_t status = 0;
    EXPECT_EQ(FILE_ReadStr(&file, line, 3, &status), MSG_GetStr(ORVIK_MSG_NO_EXCEPTION_TEXT));
    EXPECT_EQ(GEN_GetRetCode(), ORVIK_RC_READ_FAILED);
    EXPECT_EQ(status, static_cast<uint32_t>(ORVIK_STATUS_READ_FAILED));
}

}  // namespace
