#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "OrvikSTR_Lib.h"
#include "long_text.h"

TEST(StrFormat, TakesAPieceOfTheSource) {
    // clang-format off
    const struct { const char* src; int32_t one, mode, count; const char* expected; } rows[] = {
        {"abcdef", 1, -1, 3, "abc"},
        {"abcdef", 1, 0, -4, ""},
        {"abcdef", 3, 0, 2, "cd"},
        {"abcdef", 9, 0, 2, ""},
        {nullptr, 1, 0, 3, ""},
        {"ab", 1, 1, 4, "ab  "},
        {"ab", 1, 2, 4, "  ab"},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.src ? row.src : "null") + " " + std::to_string(row.count));
        EXPECT_STREQ(STR_Format(nullptr, row.src, row.one, row.mode, row.count), row.expected);
        std::string dest(16, '#');
        EXPECT_EQ(STR_Format(dest.data(), row.src, row.one, row.mode, row.count), dest.data());
        EXPECT_STREQ(dest.c_str(), row.expected);
        EXPECT_EQ(dest[std::strlen(row.expected) + 1], '#') << "wrote past the piece";
    }
    const std::string longText(10000, 'q');
    EXPECT_EQ(std::string(STR_Format(nullptr, longText.c_str(), 1, -1, 9999)), longText.substr(1));
}

TEST(StrUpper, ChangesOnlyWhatTheCodePageCallsSmallLetters) {
    // Each byte of `small` upper-cased is the byte below it, in Windows-1252;
    // UTF-8 changes only a to z.
    const std::string small = "az`{0\xE0\xFE\xF7\xDF\xB5\x9A\x9C\x9E\xFF\x80\xC3";
    const std::string big = "AZ`{0\xC0\xDE\xF7\xDF\xB5\x8A\x8C\x8E\x9F\x80\xC3";
    EXPECT_EQ(STR_GetCodePage(), STR_CODEPAGE_UTF8) << "the default";
    for (const uint32_t codePage : {STR_CODEPAGE_UTF8, STR_CODEPAGE_WINDOWS_1252}) {
        ASSERT_NE(STR_SetCodePage(codePage), 0);
        for (size_t i = 0; i < small.size(); ++i) {
            const auto in = static_cast<uint8_t>(small[i]);
            const auto out =
                static_cast<uint8_t>(codePage == STR_CODEPAGE_UTF8 && i > 1 ? in : big[i]);
            EXPECT_EQ(STR_ANSI2Upper4Char(in), out) << codePage << " " << int{in};
            EXPECT_EQ(STR_ANSI2Upper4Char(in | 0xABCD1200u), out) << "upper bytes play no part";
        }
    }
    EXPECT_EQ(STR_SetCodePage(437), 0);
    EXPECT_EQ(STR_GetCodePage(), STR_CODEPAGE_WINDOWS_1252)
        << "a refused code page changes nothing";
    STR_SetCodePage(STR_CODEPAGE_UTF8);
}

TEST(StrLastOccurrence, FindsTheLastOrNothing) {
    const char text[] = "C:\\dir\\file.txt";
    EXPECT_EQ(STR_lstrrchr(text, 0x5C | 0x100), text + 6) << "the low byte counts";
    EXPECT_EQ(STR_lstrrchr(text, '/'), nullptr);
    EXPECT_EQ(STR_lstrrchr(text, 0), nullptr);
    EXPECT_EQ(STR_lstrrchr(nullptr, '\\'), nullptr);
}

TEST(StrBlanks, StripsBothEndsAndKeepsInnerBlanks) {
    // clang-format off
    const std::pair<const char*, const char*> rows[] = {
        {"  a b  ", "a b"},
        {"\t\r\nx\v\f", "x"},
        {"   ", ""},
        {" \xA0 ", "\xA0"},
    };
    // clang-format on
    for (const auto& [in, out] : rows) {
        std::string text = in;
        EXPECT_EQ(STR_StripBlanks(text.data()), static_cast<int32_t>(std::strlen(out))) << in;
        EXPECT_STREQ(text.c_str(), out);
        EXPECT_EQ(STR_IsBlank(in) != 0, out[0] == '\0') << in;
    }
    EXPECT_EQ(STR_StripBlanks(nullptr), 0);
    EXPECT_NE(STR_IsBlank(nullptr), 0);
}

// Texts past 2 and 4 GiB, which cost no memory (long_text.h): a stripped
// length that int32_t cannot hold is refused and the text left as it was,
// also when it is small modulo 2^32; one that it can hold is given.
TEST(StrLongTexts, StripsWhatInt32Counts) {
    using orvik::test::kOver2GiB;
    using orvik::test::kOver4GiB;
    using orvik::test::LongText;
    // clang-format off
    // endAfter: the last two bytes after the call
    const struct { size_t length; const char* tail; int32_t result; std::string endAfter; } rows[] = {
        {kOver2GiB, "x", STR_TEXT_TOO_LONG, "ax"},
        {kOver4GiB + 2, "x ", STR_TEXT_TOO_LONG, "x "},
        {kOver2GiB, "x ", INT32_MAX, std::string("x\0", 2)},
    };
    // clang-format on
    for (const auto& row : rows) {
        LongText text(row.length, row.tail);
        EXPECT_EQ(STR_StripBlanks(text.data()), row.result) << row.length;
        EXPECT_EQ(text.End(2), row.endAfter) << row.length;
    }
}
