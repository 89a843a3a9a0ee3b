// The orvikfile program, run end to end: its exit status is the library's
// return code, a usage error or a plain no, and its output what it printed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OrvikFILE_Codes.h"
#include "OrvikMSG_Lib.h"
#include "record_bytes.h"
#include "run_program.h"

namespace {

using orvik::test::Field;
using orvik::test::Outcome;
using orvik::test::Record;
using orvik::test::RunInBash;
using orvik::test::RunOrvikfile;
using Words = std::vector<std::string>;

// Each run: its status, its whole standard output and a part of its standard
// error (empty: none at all), given its standard input.
TEST(Orvikfile, CommandsPrintTheirResultsOrFail) {
    const orvik::test::TempDir dir;
    const std::string file = dir.Write("f.txt", "x"), d = dir.path();
    const std::string missing = dir / "missing", packed = dir / "out.rec", longLine(600, 'L');
    // Records by an independent writer, the last one cut: no zero after it;
    // and one whose length field is cut.
    const std::string records =
        dir.Write("in.rec", Record("abc") + Field(0) + Field(-7) + Field(1) + "z" +
                                Record("tab\tq\"b\\") + Record("\x01\x7f\xe9") + Field(4) + "abcd");
    const std::string cutField = dir.Write("f.rec", Record("ok") + Field(10).substr(0, 2));
    const std::string dumped =
        "0\t4\tabc\n1\t0\t\n2\t-7\t\n3\t1\t\n"
        "4\t9\ttab\\tq\"b\\\\\n5\t4\t\\x01\\x7f\xe9\n6\t4\tabc\n";
    // clang-format off
    const struct { Words args; int status; std::string out, err, input = "piped\n"; } runs[] = {
        {{"lines", dir.Write("1", "one\r\ntwo\n")}, 0, "one\ntwo\n", ""},
        {{"lines", "-", "--max", "2"}, 0, "pi\npe\nd\n", ""},  // standard input: "piped"
        {{"lines", dir.Write("5", std::string("a\0b\n", 4))}, 0, std::string("a\0b\n", 4), ""},
        {{"lines", dir.Write("7", "abc\ndef\n"), "--max=3"}, 0, "abc\n\ndef\n\n", ""},
        {{"lines", missing}, ORVIK_RC_OPEN_FAILED, "", MSG_GetStr(ORVIK_MSG_FILE_NOT_FOUND)},
        {{"records", "pack", d, "x"}, ORVIK_RC_OPEN_FAILED, "", d},
        {{"records", "dump", records}, 0, dumped, "record 2 breaks the record layout"},
        {{"records", "dump", cutField}, ORVIK_RC_END_OF_FILE, "0\t3\tok\n", "its length field has 2 of 4 bytes"},
        {{"records", "pack", packed}, 0, "", "text 3 has 600 bytes", "one\r\n\n" + longLine + "\nl"},
        {{"records", "pack", "--append", packed, "more"}, 0, "", ""},
        {{"exists", file}, 0, file + ": exists\n", ""},
        {{"mkdir", d}, 1, "", "exists already"},
        {{"rm", file}, 0, "", ""},
        {{"rm", file}, ORVIK_RC_REMOVE_FAILED, "", file},
        {{"path", "join", "c:/dir", "  my file.txt  "}, 0, "C:\\DIR\\MY FILE.TXT\n", ""},
        {{"path", "suffix", "C:\\dir\\longfilename.txt"}, 0, "19\tC:\\dir\\longfilename\t.txt\n", ""},
        {{"path", "suffix", "--base8", "abcdefghi.txt"}, 0, "8\tabcdefgh\ti.txt\n", ""},
        {{"path", "shrink", "C:\\dir\\sub\\file.txt", "18"}, 0, "C:\\...\\file.txt\n", ""},
        {{"lines"}, 2, "", "missing argument"},
        {{"path", "shrink", "abc", "0"}, 2, "", "WIDTH must be"},
        {{}, 2, "", "SYNOPSIS"},
    };
    // clang-format on
    for (const auto& run : runs) {
        const Outcome got = RunOrvikfile(run.args, run.input);
        const std::string what = testing::PrintToString(run.args) + "\nstderr: " + got.err;
        EXPECT_EQ(got.status, run.status) << what;
        EXPECT_EQ(got.out, run.out) << what;
        EXPECT_TRUE(run.err.empty() ? got.err.empty() : got.err.find(run.err) != std::string::npos)
            << what;
    }
    EXPECT_EQ(dir.Read("out.rec"), Record("one") + Field(0) + Field(513) + longLine.substr(0, 513) +
                                       Record("l") + Record("more"))
        << "the records packed, byte for byte";
}

// Drives from the environment; an entry that cannot be mapped is named.
TEST(Orvikfile, DrivesComeFromTheEnvironment) {
    const orvik::test::TempDir dir;
    dir.Write("f.txt", "x");
    const Outcome got = RunInBash("ORVIK_DRIVES=\"7=/;Q=$1;;R=$1/none\" \"$0\" exists 'q:\\F.TXT'",
                                  {dir.path().string()});
    EXPECT_EQ(got.out, "q:\\F.TXT: exists\n");
    EXPECT_EQ(got.err,
              "OrvikAfx: ORVIK_DRIVES entry \"7=/\" ignored: not of the form LETTER=DIRECTORY\n"
              "OrvikAfx: ORVIK_DRIVES entry \"R=" +
                  (dir / "none") + "\" ignored: No such file or directory\n");
}

}  // namespace
