// Names in the host's form (backslashes, drive letters, any case) reaching
// the entries of a case-sensitive disk through the platform classes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "OrvikAfx.h"
#include "OrvikSTR_Lib.h"
#include "temp_dir.h"

namespace {

using orvik::test::HostPath;
using orvik::test::TempDir;
namespace fs = std::filesystem;

constexpr UINT kRead = CFile::modeRead | CFile::shareDenyWrite;
constexpr UINT kCreate = CFile::modeReadWrite | CFile::shareExclusive | CFile::modeCreate;

// Every byte upper-cased as FILE_PathFile does it.
std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(STR_ANSI2Upper4Char(static_cast<unsigned char>(c)));
    }
    return text;
}

// The content of the file that `name` opens, or "(none)".
std::string ContentOf(const std::string& name) {
    CFile file;
    if (!file.Open(name.c_str(), kRead)) {
        return "(none)";
    }
    char buffer[64] = {};
    file.Read(buffer, sizeof buffer - 1);
    return buffer;
}

std::string FullNameOf(const std::string& name) {
    CFileStatus status;
    return CFile::GetStatus(name.c_str(), status) ? status.m_szFullName : "(none)";
}

// A drive T: mapped onto a fresh directory, given back on the way out.
class HostNames : public ::testing::Test {
protected:
    void SetUp() override {
        before = fs::current_path();
        ASSERT_TRUE(AfxMapDrive('T', dir.path().c_str()));
        fs::create_directories(dir.path() / "Data" / "Reports");
        dir.Write("Data/Reports/Q1 Summary.txt", "q1");
        dir.Write("Data/readme.TXT", "readme");
    }
    void TearDown() override {
        fs::current_path(before);
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            AfxMapDrive(letter, nullptr);
        }
    }
    TempDir dir;
    fs::path before;
};

TEST_F(HostNames, AnyCaseAndEitherSeparatorFindsTheEntry) {
    const std::string q1 = "T:\\Data\\Reports\\Q1 Summary.txt";
    const char* names[] = {
        "T:\\DATA\\REPORTS\\Q1 SUMMARY.TXT",
        "t:/data/reports/q1 summary.txt",
        "T:\\\\Data/\\REPORTS\\.\\Q1 Summary.txt",
        "T:DATA\\Reports\\q1 SUMMARY.txt",
    };
    for (const char* name : names) {
        EXPECT_EQ(ContentOf(name), "q1") << name;
        EXPECT_EQ(FullNameOf(name), q1) << name;
    }
    const std::string fromRoot = Upper(HostPath(dir / "Data/README.txt"));
    EXPECT_EQ(ContentOf(fromRoot), "readme") << "the whole path upper-cased, from C:";
    EXPECT_EQ(ContentOf(Upper(dir / "data/readme.txt")), "readme") << "a POSIX name too";
    EXPECT_EQ(FullNameOf("T:\\DATA\\"), "T:\\Data") << "a trailing separator names a directory";
    EXPECT_EQ(ContentOf("T:\\DATA\\README.TXT\\"), "(none)") << "which a file is not";
    EXPECT_EQ(FullNameOf("T:\\Data\\Reports\\..\\README.TXT"), "T:\\Data\\Reports\\..\\readme.TXT");
    EXPECT_EQ(ContentOf("T:\\DATA\\NONE\\..\\README.TXT"), "(none)") << "the kernel's ..";
}

TEST_F(HostNames, BlanksAndBytesAbove0x7FFoldAsTheStringServiceDoes) {
    const std::string names[] = {"caf\xC3\xA9 au lait.txt", "\xE3\x81\x82.txt", "\xE9t\xE9.txt",
                                 "\x9A\x9C\x9E\xFF.txt"};
    for (const std::string& name : names) {
        dir.Write(name, name);
        EXPECT_EQ(ContentOf("T:\\" + Upper(name)), name) << name;
        EXPECT_EQ(FullNameOf("T:\\" + Upper(name)), "T:\\" + name);
    }
    // Every byte that the string service changes finds its entry, and no
    // other byte folds.
    for (unsigned c = 1; c < 256; ++c) {
        const unsigned upper = STR_ANSI2Upper4Char(c);
        if (c == '/' || c == '\\' || c == '.' || upper == c) {
            continue;
        }
        const std::string onDisk = std::string("x") + static_cast<char>(c);
        dir.Write(onDisk, "");
        EXPECT_EQ(FullNameOf("T:\\x" + std::string(1, static_cast<char>(upper))), "T:\\" + onDisk)
            << "byte " << c;
    }
    dir.Write("x\xF7", "");  // division sign: no letter
    EXPECT_EQ(FullNameOf("T:\\x\xD7"), "(none)") << "multiplication sign";
}

TEST_F(HostNames, ExactSpellingWinsThenLowerCaseThenTheSmallest) {
    dir.Write("a.txt", "lower");
    dir.Write("A.TXT", "upper");
    dir.Write("A.Txt", "mixed");
    dir.Write("B.TXT", "B.TXT");
    dir.Write("b.Txt", "b.Txt");
    const struct {
        const char* name;
        const char* opens;
    } rows[] = {
        {"T:\\a.txt", "lower"}, {"T:\\A.TXT", "upper"}, {"T:\\A.Txt", "mixed"},
        {"T:\\a.TXT", "lower"},  // no exact match: the all-lower-case spelling
        {"T:\\b.txt", "B.TXT"},  // no lower-case entry: the byte-wise smallest
        {"T:\\B.tXT", "B.TXT"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ContentOf(row.name), row.opens) << row.name;
    }
}

TEST_F(HostNames, NewEntriesKeepTheGivenLastNameInTheResolvedParent) {
    CFile created;
    ASSERT_TRUE(created.Open("T:\\DATA\\REPORTS\\New Report.TXT", kCreate));
    created.Write("new", 3);
    EXPECT_EQ(created.GetFilePath(), "T:\\Data\\Reports\\New Report.TXT");
    EXPECT_EQ(created.GetFileName(), "New Report.TXT");
    created.Close();
    EXPECT_EQ(dir.Read("Data/Reports/New Report.TXT"), "new");

    ASSERT_TRUE(created.Open("T:\\data\\README.txt", kCreate | CFile::modeNoTruncate));
    EXPECT_EQ(created.GetLength(), 6u) << "an entry of another case is opened, not doubled";
    created.Close();
    EXPECT_FALSE(fs::exists(dir.path() / "Data/README.txt"));

    EXPECT_EQ(AfxMkDir("T:\\DATA\\Sub Dir"), 0);
    EXPECT_TRUE(fs::is_directory(dir.path() / "Data/Sub Dir"));
    EXPECT_EQ(AfxMkDir("T:\\DATA\\SUB DIR"), -1) << "exists in another case";
    EXPECT_EQ(AfxMkDir("T:\\NONE\\New"), -1);
    EXPECT_FALSE(fs::exists(dir.path() / "NONE"));
    CFile::Remove("T:\\DATA\\REPORTS\\NEW REPORT.TXT");
    EXPECT_FALSE(fs::exists(dir.path() / "Data/Reports/New Report.TXT"));
}

TEST_F(HostNames, RelativeNamesFollowTheCurrentDirectory) {
    ASSERT_EQ(AfxChDir("T:\\DATA\\REPORTS"), 0);
    EXPECT_EQ(fs::current_path(), dir.path() / "Data/Reports");
    EXPECT_EQ(ContentOf("Q1 SUMMARY.TXT"), "q1");
    EXPECT_EQ(ContentOf("..\\README.TXT"), "readme");
    EXPECT_EQ(FullNameOf(".\\q1 summary.txt"), "T:\\Data\\Reports\\Q1 Summary.txt");
    EXPECT_EQ(FullNameOf("."), "T:\\Data\\Reports");
    ASSERT_EQ(AfxChDir(".."), 0);
    EXPECT_EQ(ContentOf("reports\\q1 summary.txt"), "q1");
}

TEST_F(HostNames, DrivesMapOntoDirectoriesAndNamesComeBackUnderThem) {
    EXPECT_EQ(FullNameOf("T:"), "T:\\");
    EXPECT_EQ(FullNameOf("C:"), "C:\\");
    EXPECT_EQ(FullNameOf("Z:\\"), "C:\\") << "every unmapped drive is the root; C: comes back";
    EXPECT_EQ(FullNameOf("\\"), "C:\\");

    // A relative directory is taken against the current directory of the call.
    ASSERT_EQ(AfxChDir("T:\\DATA"), 0);
    ASSERT_TRUE(AfxMapDrive('r', "REPORTS"));
    ASSERT_EQ(AfxChDir("C:\\"), 0);
    EXPECT_EQ(ContentOf("R:\\Q1 SUMMARY.TXT"), "q1");
    EXPECT_EQ(FullNameOf("r:\\q1 summary.txt"), "R:\\Q1 Summary.txt") << "the closest drive";
    EXPECT_EQ(FullNameOf("T:\\DATA\\REPORTS\\Q1 SUMMARY.TXT"), "R:\\Q1 Summary.txt");

    EXPECT_FALSE(AfxMapDrive('1', "/"));
    EXPECT_FALSE(AfxMapDrive('T', ""));
    EXPECT_EQ(ContentOf("T:\\DATA\\README.TXT"), "readme") << "a refused mapping changes nothing";

    ASSERT_TRUE(AfxMapDrive('T', nullptr));
    const std::string readme = HostPath(dir / "Data/readme.TXT");
    EXPECT_EQ(FullNameOf(Upper(dir / "data/readme.txt")), readme) << "back on the root";

    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        ASSERT_TRUE(AfxMapDrive(letter, (dir / "Data/Reports").c_str()));
    }
    const std::string rootRelative = readme.substr(2);
    EXPECT_EQ(FullNameOf(readme.substr(2)), rootRelative) << "no drive holds it";
    EXPECT_EQ(ContentOf(rootRelative), "readme");
}

TEST_F(HostNames, MappingWhileOtherThreadsResolve) {
    const std::string data = (dir.path() / "Data").string();
    std::thread mapper([&] {
        for (int i = 0; i < 2000; ++i) {
            AfxMapDrive('T', i % 2 ? data.c_str() : dir.path().c_str());
        }
    });
    std::string unexpected;  // resolved under one mapping, handed back under either
    for (int i = 0; i < 2000; ++i) {
        const std::string found = FullNameOf("T:\\README.TXT");
        if (found != "(none)" && found != "T:\\readme.TXT" && found != "T:\\Data\\readme.TXT") {
            unexpected = found;
        }
    }
    mapper.join();
    EXPECT_EQ(unexpected, "");
}

TEST_F(HostNames, NamesHandedBackOpenTheSameEntry) {
    CFile unopened;
    unopened.SetFilePath("C:\\DATA\\X.TXT");
    EXPECT_EQ(unopened.GetFileName(), "X.TXT") << "the last component of either form";
    for (const char* name : {"T:\\DATA\\README.TXT", "T:\\DATA\\REPORTS\\Q1 SUMMARY.TXT"}) {
        CFile file(name, kRead);
        const std::string handedBack = file.GetFilePath().GetString();
        file.Close();
        EXPECT_EQ(ContentOf(handedBack), ContentOf(name));
        EXPECT_EQ(FullNameOf(handedBack), handedBack);
    }
}

}  // namespace
