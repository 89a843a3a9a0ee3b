#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "scripted_file.h"
#include "temp_dir.h"

namespace {

using orvik::test::ScriptedFile;

using Query = char* (*)(CFile*, char*, int32_t);

// Calls `query` with a heap buffer of exactly limit + 1 bytes (or none) and
// reports whether the name came back there.
struct Outcome {
    bool copied;
    int32_t code;
};

Outcome Ask(Query query, const std::string& name, bool withBuffer, int32_t limit) {
    ScriptedFile file;
    file.m_name = name.c_str();
    file.m_path = name.c_str();
    const size_t room = limit >= 0 ? static_cast<size_t>(limit) + 1 : 1;
    const auto buffer = std::make_unique<char[]>(room);
    buffer[0] = '#';
    char* dest = withBuffer ? buffer.get() : nullptr;
    GEN_SetRetCode(77);
    char* result = query(&file, dest, limit);
    const int32_t code = GEN_GetRetCode();
    if (code == 0) {
        EXPECT_EQ(result, withBuffer ? dest : MSG_GetStr4Path());
        EXPECT_EQ(std::string(result), name);
    } else {
        EXPECT_EQ(result, MSG_GetStr(52200));
        EXPECT_EQ(buffer[0], '#') << "nothing copied";
    }
    return {code == 0, code};
}

TEST(NameQuery, FitsAndRefusals) {
    const int32_t pathChars = MSG_MaxChars4Path();
    const struct {
        size_t length;
        bool withBuffer;
        int32_t limit;
        bool nameFits, pathFits;  // FILE_GetName, FILE_GetPath
    } rows[] = {
        {8, true, 8, true, true},
        {9, true, 8, false, false},
        {0, true, 0, true, true},
        {1, true, 0, false, false},
        {0, true, -1, false, false},
        {5, false, 0, true, true},
        {5, false, -3, true, true},
        {9, false, 8, false, true},
        {8, false, 8, true, true},
        {size_t(pathChars), false, 0, true, true},
        {size_t(pathChars) + 1, false, 0, false, false},
        {size_t(pathChars) + 1, false, pathChars + 5, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("length " + std::to_string(row.length) + " limit " +
                     std::to_string(row.limit) + (row.withBuffer ? " buffer" : " no buffer"));
        const std::string name(row.length, 'n');
        const Outcome byName = Ask(FILE_GetName, name, row.withBuffer, row.limit);
        EXPECT_EQ(byName.copied, row.nameFits);
        EXPECT_EQ(byName.code, row.nameFits ? 0 : 5);
        const Outcome byPath = Ask(FILE_GetPath, name, row.withBuffer, row.limit);
        EXPECT_EQ(byPath.copied, row.pathFits);
        EXPECT_EQ(byPath.code, row.pathFits ? 0 : 5);
    }
}

TEST(NameQuery, NullFileObject) {
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
    EXPECT_STREQ(FILE_GetPath(&file, nullptr, 0), name.c_str());
    EXPECT_EQ(GEN_GetRetCode(), 0);
}

}  // namespace
