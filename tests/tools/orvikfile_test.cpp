#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "OrvikMSG_Lib.h"
#include "run_program.h"
#include "temp_dir.h"

namespace {

using orvik::test::Outcome;
using orvik::test::RunOrvikfile;
using orvik::test::TempDir;
using Words = std::vector<std::string>;

// The bytes of a little-endian 32-bit length field, made here rather than by
// the library so that the reader is checked against an independent writer.
std::string Field(int32_t length) {
    const auto bits = static_cast<uint32_t>(length);
    return {char(bits), char(bits >> 8), char(bits >> 16), char(bits >> 24)};
}

std::string Record(const std::string& text) {
    return Field(static_cast<int32_t>(text.size() + 1)) + text + std::string(1, '\0');
}

void ExpectOutcome(const Outcome& got, int status, const std::string& out,
                   const std::string& errPart, const std::string& what) {
    EXPECT_EQ(got.status, status) << what << "\nstderr: " << got.err;
    EXPECT_EQ(got.out, out) << what;
    if (errPart.empty()) {
        EXPECT_EQ(got.err, "") << what;
    } else {
        EXPECT_NE(got.err.find(errPart), std::string::npos) << what << "\nstderr: " << got.err;
    }
}

class Orvikfile : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(Orvikfile, LinesPrintsWhatFileReadStrReads) {
    const struct {
        std::string content;
        Words options;
        std::string out;
    } rows[] = {
        {"one\ntwo\n", {}, "one\ntwo\n"},
        {"crlf\r\nlast", {}, "crlf\nlast\n"},
        {"", {}, ""},
        {"\n\r\n", {}, "\n\n"},
        {"lone\rcr\r", {}, "lone\rcr\r\n"},
        {std::string("zero\0byte\n", 10), {}, std::string("zero\0byte\n", 10)},
        {"abcdefg\nxy\n", {"--max", "3"}, "abc\ndef\ng\nxy\n"},
        {"abc\ndef\n", {"--max=3"}, "abc\n\ndef\n\n"},  // the line end comes as an empty line
    };
    for (const auto& row : rows) {
        Words args = {"lines", dir.Write("in.txt", row.content)};
        args.insert(args.end(), row.options.begin(), row.options.end());
        ExpectOutcome(RunOrvikfile(args), 0, row.out, "", row.content);
    }
}

TEST_F(Orvikfile, BadInputGivesTheLibraryCodeOrAUsageError) {
    const std::string file = dir.Write("f.txt", "x\n");
    const std::string missing = dir / "missing";
    const std::string directory = dir.path().string();
    const struct {
        Words args;
        int status;
        std::string errPart;
    } rows[] = {
        {{"lines", missing}, 13, MSG_GetStr(52004)},
        {{"records", "dump", missing}, 13, MSG_GetStr(52004)},
        {{"lines", directory}, 13, directory},
        {{"records", "dump", directory}, 13, directory},
        {{"records", "pack", directory, "x"}, 13, directory},
        {{"rm", missing}, 8, missing},
        {{"rm", directory}, 8, directory},
        {{"lines", file, "--max", "0"}, 2, "--max"},
        {{"lines", file, "--max", "-1"}, 2, "--max"},
        {{"lines", file, "--max", "12x"}, 2, "--max"},
        {{"lines", file, "--max", "99999999999999999999"}, 2, "--max"},
        {{"lines", file, "--max"}, 2, "needs a value"},
        {{"lines", file, "--frob"}, 2, "unknown option --frob"},
        {{"lines"}, 2, "missing argument"},
        {{"lines", file, file}, 2, "unexpected argument"},
        {{"records"}, 2, "missing action"},
        {{"records", "frob", file}, 2, "unknown action"},
        {{"records", "dump", file, "--xml"}, 2, "unknown option"},
        {{"frob"}, 2, "unknown command"},
        {{}, 2, "SYNOPSIS"},
    };
    for (const auto& row : rows) {
        const Outcome got = RunOrvikfile(row.args);
        EXPECT_EQ(got.status, row.status) << testing::PrintToString(row.args);
        EXPECT_NE(got.err.find(row.errPart), std::string::npos)
            << testing::PrintToString(row.args) << "\nstderr: " << got.err;
    }
}

TEST_F(Orvikfile, RecordsDumpReadsAnIndependentWriter) {
    const std::string bytes = Record("abc") + Field(0) + Field(-7) + Field(1) + "z" +
                              Record("tab\tquote\"back\\") + Record("\x01\x7f\xe9\xff") + Field(4) +
                              "abcd";  // no zero: the last byte is cut
    const std::string file = dir.Write("in.rec", bytes);
    ExpectOutcome(RunOrvikfile({"records", "dump", file}), 0,
                  "0\t4\tabc\n1\t0\t\n2\t-7\t\n3\t1\t\n"
                  "4\t16\ttab\\tquote\"back\\\\\n5\t5\t\\x01\\x7f\xe9\xff\n6\t4\tabc\n",
                  "", "plain");
    ExpectOutcome(RunOrvikfile({"records", "dump", "--json", file}), 0,
                  "{\"index\":0,\"length\":4,\"text\":\"abc\"}\n"
                  "{\"index\":1,\"length\":0,\"text\":\"\"}\n"
                  "{\"index\":2,\"length\":-7,\"text\":\"\"}\n"
                  "{\"index\":3,\"length\":1,\"text\":\"\"}\n"
                  "{\"index\":4,\"length\":16,\"text\":\"tab\\u0009quote\\\"back\\\\\"}\n"
                  "{\"index\":5,\"length\":5,\"text\":\"\\u0001\\u007f\\u00e9\\u00ff\"}\n"
                  "{\"index\":6,\"length\":4,\"text\":\"abc\"}\n",
                  "", "json");
    ExpectOutcome(RunOrvikfile({"records", "dump", dir.Write("empty.rec", "")}), 0, "", "",
                  "empty file");
}

TEST_F(Orvikfile, RecordsDumpReportsARecordCutShort) {
    const std::string whole = Record("ok");
    const std::string cutBody = dir.Write("body.rec", whole + Field(10) + "part");
    ExpectOutcome(RunOrvikfile({"records", "dump", "--json", cutBody}), 11,
                  "{\"index\":0,\"length\":3,\"text\":\"ok\"}\n"
                  "{\"index\":1,\"length\":10,\"text\":\"part\",\"truncated\":true}\n",
                  "record 1 is cut short: 4 of its 10 body bytes", "body");
    const std::string cutField = dir.Write("field.rec", whole + Field(10).substr(0, 2));
    ExpectOutcome(RunOrvikfile({"records", "dump", cutField}), 11, "0\t3\tok\n",
                  "its length field has 2 of 4 bytes", "field");
}

TEST_F(Orvikfile, RecordsPackWritesTheFormatByteForByte) {
    const std::string out = dir / "out.rec";
    ExpectOutcome(RunOrvikfile({"records", "pack", out, "abc", "", "x"}), 0, "", "", "args");
    EXPECT_EQ(dir.Read("out.rec"), Record("abc") + Field(0) + Record("x"));

    const std::string longLine(600, 'L');
    ExpectOutcome(RunOrvikfile({"records", "pack", out}, "one\r\n\n" + longLine + "\nlast"), 0, "",
                  "text 3 has 600 bytes", "stdin");
    EXPECT_EQ(dir.Read("out.rec"),
              Record("one") + Field(0) + Field(513) + longLine.substr(0, 513) + Record("last"));

    ExpectOutcome(RunOrvikfile({"records", "pack", "--append", out, "more"}), 0, "", "", "append");
    ExpectOutcome(
        RunOrvikfile({"records", "dump", out}), 0,
        "0\t4\tone\n1\t0\t\n2\t513\t" + longLine.substr(0, 512) + "\n3\t5\tlast\n4\t5\tmore\n", "",
        "read back");
}

TEST_F(Orvikfile, ByNameCommandsReportTheirResults) {
    const std::string file = dir.Write("f.txt", "x");
    const std::string sub = dir / "sub";
    const struct {
        Words args;
        int status;
        std::string out;
        std::string errPart;
    } steps[] = {
        {{"exists", file}, 0, file + ": exists\n", ""},
        {{"exists", "-q", sub}, 1, "", ""},
        {{"mkdir", sub}, 0, "", ""},
        {{"exists", sub}, 0, sub + ": exists\n", ""},
        {{"mkdir", sub}, 1, "", "exists already"},
        {{"mkdir", sub + "/a/b"}, 1, "", "does not exist"},
        {{"mkdir", "  "}, 1, "", "blank"},
        {{"rm", file}, 0, "", ""},
        {{"exists", "--quiet", file}, 1, "", ""},
    };
    for (const auto& step : steps) {
        ExpectOutcome(RunOrvikfile(step.args), step.status, step.out, step.errPart,
                      testing::PrintToString(step.args));
    }
}

TEST(OrvikfilePath, PrintsWhatThePathTextFunctionsGive) {
    const struct {
        Words args;
        int status;
        std::string out;
    } rows[] = {
        {{"path", "join", "c:/dir", "file.txt"}, 0, "C:\\DIR\\FILE.TXT\n"},
        {{"path", "join", "dir", "  my file.txt  "}, 0, "DIR\\MY FILE.TXT\n"},
        {{"path", "join", "", ""}, 0, "\n"},
        {{"path", "suffix", "C:\\dir\\longfilename.txt"}, 0, "19\tC:\\dir\\longfilename\t.txt\n"},
        {{"path", "suffix", "--base8", "abcdefghi.txt"}, 0, "8\tabcdefgh\ti.txt\n"},
        {{"path", "suffix", "a.b\\c"}, 0, "5\ta.b\\c\t\n"},
        {{"path", "suffix", "abc.txt", "html"}, 0, "abc.htm\n"},
        {{"path", "suffix", "abc.txt", ".doc"}, 0, "abc.doc\n"},
        {{"path", "suffix", "abc.txt", ""}, 0, "abc\n"},
        {{"path", "shrink", "C:\\dir\\sub\\file.txt", "18"}, 0, "C:\\...\\file.txt\n"},
        {{"path", "shrink", "C:\\dir\\sub\\file.txt", "11"}, 0, "C:\\dir\\sub\\\n"},
        {{"path", "shrink", "abc", "0"}, 2, ""},
        {{"path", "shrink", "abc", "-3"}, 2, ""},
        {{"path", "shrink", "abc"}, 2, ""},
        {{"path", "suffix", "a", "b", "--base8"}, 2, ""},
        {{"path", "join", "a"}, 2, ""},
        {{"path", "split", "a"}, 2, ""},
    };
    for (const auto& row : rows) {
        const Outcome got = RunOrvikfile(row.args);
        EXPECT_EQ(got.status, row.status) << testing::PrintToString(row.args) << got.err;
        EXPECT_EQ(got.out, row.out) << testing::PrintToString(row.args);
    }
}

TEST(OrvikfileHome, PrintsTheDirectoryAboveTheProgramsOwn) {
    std::string expected =
        std::filesystem::canonical(ORVIKFILE_PROGRAM).parent_path().parent_path().string();
    for (char& c : expected) {
        c = c == '/' ? '\\' : c;  // the library hands names back with backslashes
    }
    Outcome got = RunOrvikfile({"home"});
    if (got.out.size() > 2 && got.out[1] == ':') {
        got.out.erase(0, 2);  // and may name a drive before them
    }
    ExpectOutcome(got, 0, expected + "\n", "", "home");
    EXPECT_EQ(RunOrvikfile({"home", "extra"}).status, 2);
}

TEST(OrvikfileChooseDir, WithoutADisplayNothingIsChosen) {
    const Outcome got = RunOrvikfile({"choose-dir", "--title", "T", "--initial", "/"}, "",
                                     {"DISPLAY", "WAYLAND_DISPLAY"});
    ExpectOutcome(got, 1, "", "no directory was chosen", "choose-dir");
    EXPECT_EQ(RunOrvikfile({"choose-dir", "--title"}).status, 2);
}

TEST(OrvikfileHelp, EveryCommandExplainsItself) {
    for (const std::string command :
         {"lines", "records", "exists", "mkdir", "rm", "path", "home", "choose-dir"}) {
        for (const Words& args : {Words{command, "--help"}, Words{command, "-h", "x", "--bad"}}) {
            const Outcome got = RunOrvikfile(args);
            EXPECT_EQ(got.status, 0) << command;
            EXPECT_NE(got.out.find("Usage: orvikfile " + command), std::string::npos) << command;
        }
    }
    const Outcome top = RunOrvikfile({"--help"});
    EXPECT_EQ(top.status, 0);
    for (const char* section : {"NAME", "SYNOPSIS", "DESCRIPTION", "EXIT STATUS"}) {
        EXPECT_NE(top.out.find(section), std::string::npos) << section;
    }
}

}  // namespace
