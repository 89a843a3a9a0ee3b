// The path-text family at the limit of its int32_t results, on names past 2
// and 4 GiB that cost no memory (long_text.h): a name or path too long to
// count is refused, and the caller's texts stay as they were.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "guarded_buffer.h"
#include "long_text.h"

namespace {

using orvik::test::kOver2GiB;
using orvik::test::kOver4GiB;
using orvik::test::LongText;

constexpr size_t kOneGiB = size_t{1} << 30;

// FILE_FindSuffix, plain and limited, then FILE_NewSuffix on the same name.
TEST(LongPathText, SuffixesCountUpToInt32Max) {
    // clang-format off
    // endAfter: the name's last four bytes afterwards
    const struct { size_t length; const char* tail; int32_t plain, limited; const char* suffix; int32_t result; std::string endAfter; } rows[] = {
        {kOver2GiB, ".txt", ORVIK_TEXT_TOO_LONG, ORVIK_TEXT_TOO_LONG, "doc", ORVIK_TEXT_TOO_LONG, ".txt"},
        {INT32_MAX, "\\name.txt", INT32_MAX - 4, INT32_MAX - 4, "doc", INT32_MAX, ".doc"},  // as long as before
        {INT32_MAX, ".txt", INT32_MAX - 4, 8, nullptr, INT32_MAX - 4, std::string("\0txt", 4)},
        {INT32_MAX, "", INT32_MAX, 8, "doc", ORVIK_TEXT_TOO_LONG, "aaaa"},  // it would grow past
    };
    // clang-format on
    for (const auto& row : rows) {
        const LongText name(row.length, row.tail);
        EXPECT_EQ(FILE_FindSuffix(name.data(), 0), row.plain) << row.length;
        EXPECT_EQ(FILE_FindSuffix(name.data(), 1), row.limited) << row.length;
        EXPECT_EQ(FILE_NewSuffix(name.data(), row.suffix), row.result) << row.length;
        EXPECT_EQ(name.End(4), row.endAfter) << row.length;
    }
}

TEST(LongPathText, PathFileRefusesPartsTooLongToCountAndChangesNothing) {
    const LongText over2GiB(kOver2GiB, "d/"), almost2GiB(INT32_MAX - 1, "/f");
    const LongText oneGiB(kOneGiB, "/g"), anotherGiB(kOneGiB, "/h");
    std::string small = "s/";
    // clang-format off
    const struct { char* dir; char* file; } rows[] = {
        {over2GiB.data(), small.data()},
        {nullptr, almost2GiB.data()},  // with its separator one byte too long
        {oneGiB.data(), anotherGiB.data()},
    };
    // clang-format on
    for (const auto& row : rows) {
        std::vector<char> dest = orvik::test::ExactBuffer(3, "##");
        EXPECT_EQ(FILE_PathFile(dest.data(), row.dir, row.file), ORVIK_TEXT_TOO_LONG);
        EXPECT_EQ(std::string(dest.data(), 3), std::string("\0#", 3));
    }
    EXPECT_EQ(over2GiB.End(2) + almost2GiB.End(2) + oneGiB.End(2) + anotherGiB.End(2) + small,
              "d//f/g/hs/")
        << "forward slashes are rewritten only by a call that is carried out";
}

TEST(LongPathText, ShrinkNameRefusesASourceTooLongToCountOnceStripped) {
    // clang-format off
    // endAfter: the source's last bytes afterwards
    const struct { size_t length; const char* tail; int32_t result; const char* shrunk; std::string endAfter; } rows[] = {
        {kOver2GiB + 1, "\\f.txt ", ORVIK_SHRINK_REFUSED, "", "\\f.txt "},
        {kOver4GiB + 7, "\\f.txt ", ORVIK_SHRINK_REFUSED, "", "\\f.txt "},
        {kOver2GiB, "\\f.txt ", 20, "aaaaaaaaaaa...\\f.txt", std::string("\\f.txt\0", 7)},
    };
    // clang-format on
    for (const auto& row : rows) {
        const LongText src(row.length, row.tail);
        std::vector<char> dest = orvik::test::ExactBuffer(21);
        EXPECT_EQ(FILE_ShrinkName(dest.data(), src.data(), 20), row.result) << row.length;
        EXPECT_STREQ(dest.data(), row.shrunk) << row.length;
        EXPECT_EQ(src.End(7), row.endAfter) << row.length;
    }
}

}  // namespace
