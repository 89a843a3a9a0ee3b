#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "OrvikFILE_Lib.h"
#include "report_check.h"
#include "scripted_file.h"

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
    if (GEN_GetRetCode() != ORVIK_RC_OK) {
        EXPECT_TRUE(orvik::test::Reported(result, ORVIK_MSG_NAME_TOO_LONG, ORVIK_RC_NAME_TOO_LONG));
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
        EXPECT_REPORT(query(nullptr, buffer, 3), ORVIK_MSG_NO_FILE_OBJECT, ORVIK_RC_NO_FILE_OBJECT);
        EXPECT_STREQ(buffer, "##");
    }
}

}  // namespace
