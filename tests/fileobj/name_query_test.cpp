#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "scripted_file.h"
#include "temp_dir.h"

namespace {

using Query = char* (*)(CFile*, char*, int32_t);

// Asks `query` for a name of `length` bytes with a heap buffer of exactly
// limit + 1 bytes (or none); true when the name came back whole.
bool Fits(Query query, size_t length, bool withBuffer, int32_t limit) {
    orvik::test::ScriptedFile file;
    const std::string name(length, 'n');
    file.m_name = file.m_path = name.c_str();
    const auto buffer = std::make_unique<char[]>(limit >= 0 ? size_t(limit) + 1 : 1);
    buffer[0] = '#';
    char* dest = withBuffer ? buffer.get() : nullptr;
    char* result = query(&file, dest, limit);
    if (GEN_GetRetCode() != 0) {
        EXPECT_EQ(GEN_GetRetCode(), 5);
        EXPECT_EQ(result, MSG_GetStr(52200));
        EXPECT_EQ(buffer[0], '#') << "nothing copied";
        return false;
    }
    EXPECT_EQ(result, withBuffer ? dest : MSG_GetStr4Path());
    EXPECT_EQ(std::string(result), name);
    return true;
}

TEST(NameQuery, FitsAndRefusals) {
    const size_t most = size_t(MSG_MaxChars4Path());
    // clang-format off
    const struct { size_t length; bool withBuffer; int32_t limit; bool nameFits, pathFits; } rows[] = {
        {8, true, 8, true, true},   {9, true, 8, false, false},  {0, true, 0, true, true},
        {1, true, 0, false, false}, {0, true, -1, false, false}, {5, false, 0, true, true},
        {5, false, -3, true, true}, {9, false, 8, false, true},  {8, false, 8, true, true},
        {most, false, 0, true, true}, {most + 1, false, 0, false, false},
        {most + 1, false, int32_t(most) + 5, false, false},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.length) + " limit " + std::to_string(row.limit));
        EXPECT_EQ(Fits(FILE_GetName, row.length, row.withBuffer, row.limit), row.nameFits);
        EXPECT_EQ(Fits(FILE_GetPath, row.length, row.withBuffer, row.limit), row.pathFits);
    }
    char buffer[4] = "##";
    for (Query query : {FILE_GetName, FILE_GetPath}) {
        EXPECT_EQ(query(nullptr, buffer, 3), MSG_GetStr(52000));
        EXPECT_EQ(GEN_GetRetCode(), 4);
        EXPECT_STREQ(buffer, "##");
    }
}

TEST(NameQuery, RealFileGivesNameAndFullPath) {
    orvik::test::TempDir dir;
    const std::string name = dir.Write("report.txt", "x");
    CFile file;
    ASSERT_EQ(FILE_Open(&file, name.c_str(), 0, 0), nullptr);
    char buffer[1024];
    EXPECT_STREQ(FILE_GetName(&file, buffer, 1023), "report.txt");
    EXPECT_STREQ(FILE_GetPath(&file, nullptr, 0), dir.Host("report.txt").c_str());
}

}  // namespace
