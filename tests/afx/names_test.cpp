// Names in the host's form (backslashes, drive letters, any case) reaching
// the entries of a case-sensitive disk through the platform classes.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "OrvikAfx.h"
#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikSTR_Lib.h"
#include "afx_test.h"
#include "temp_dir.h"

namespace {

using orvik::afx::RealSystemCalls;
using orvik::afx::SystemCallsInUse;
using orvik::test::Folded;
using orvik::test::HostPath;
using orvik::test::TempDir;
using orvik::test::Upper;
namespace fs = std::filesystem;

constexpr UINT kRead = CFile::modeRead | CFile::shareDenyWrite;
constexpr UINT kCreate = CFile::modeReadWrite | CFile::shareExclusive | CFile::modeCreate;

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

std::string LinuxPathOf(const std::string& name) {
    CString path;
    return AfxGetLinuxPath(name.c_str(), path) ? path.GetString() : "(none)";
}

// A drive T: mapped onto a fresh directory, given back on the way out. Names
// are resolved by the kernel first, or (the parameter; as on a kernel without
// openat2) by the library's own walk alone: both must give the same answers.
class HostNames : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam()) {
            SystemCallsInUse().openat2 = orvik::test::NoOpenat2;
        }
        before = fs::current_path();
        ASSERT_TRUE(AfxMapDrive('T', dir.path().c_str()));
        fs::create_directories(dir.path() / "Data" / "Reports");
        dir.Write("Data/Reports/Q1 Summary.txt", "q1");
        dir.Write("Data/readme.TXT", "readme");
    }
    void TearDown() override {
        SystemCallsInUse() = RealSystemCalls();
        fs::current_path(before);
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            AfxMapDrive(letter, nullptr);
        }
    }
    TempDir dir;
    fs::path before;
};

INSTANTIATE_TEST_SUITE_P(, HostNames, ::testing::Bool(), [](const auto& walkAlone) {
    return walkAlone.param ? "WalkAlone" : "KernelFirst";
});

// Each name's full name ("(none)": not found) and the content it opens
// ("(none)": does not open); the full name handed back opens the same.
TEST_P(HostNames, AnyCaseEitherSeparatorAndAnyDriveFindTheEntry) {
    for (const char* name : {"café au lait.txt", "a\\b:c.txt", "\xFF.txt"}) {
        dir.Write(name, name);
    }
    fs::create_directories(dir.path() / "sub");
    fs::create_directories(dir.path() / "Sub");
    dir.Write("Sub/x.txt", "x");
    const std::string q1 = "T:\\Data\\Reports\\Q1 Summary.txt", readme = "T:\\Data\\readme.TXT";
    const std::string none = "(none)";
    const std::string bs = "\xEF\x81\x9C", co = "\xEF\x80\xBA";  // U+F05C, U+F03A
    const struct {
        std::string name, full, content;
    } rows[] = {
        {"T:\\DATA\\REPORTS\\Q1 SUMMARY.TXT", q1, "q1"},
        {"t:/data/reports/q1 summary.txt", q1, "q1"},
        {"T:\\\\Data/\\REPORTS\\.\\Q1 Summary.txt", q1, "q1"},
        {"T:DATA\\Reports\\q1 SUMMARY.txt", q1, "q1"},
        {Upper(HostPath(dir / "Data/README.txt")), readme, "readme"},  // from C:, back on T:
        {Upper(dir / "data/readme.txt"), readme, "readme"},            // a POSIX name too
        {"T:\\DATA\\", "T:\\Data", none},
        {"T:\\DATA\\README.TXT\\", none, none},       // names a directory
        {"T:\\DATA\\README.TXT\\X", none, none},      // a file holds no entries
        {"T:\\DATA\\README.TXT\\X\\..", none, none},  // .. names a directory, not a file
        {"C:\\PROC\\NONE", none, none},               // read though no index is kept
        {"T:\\Data\\Reports\\..\\README.TXT", readme, "readme"},
        {"T:\\DATA\\NONE\\..\\README.TXT", readme, "readme"},  // .. as text
        {"T:", "T:\\", none},
        {"C:", "C:\\", none},
        {"Z:\\", "C:\\", none},
        {"\\", "C:\\", none},
        {"T:\\CAFé AU LAIT.TXT", "T:\\café au lait.txt", "café au lait.txt"},
        {"T:\\Sub\\X.TXT", "T:\\Sub\\x.txt", "x"},  // an exact directory, though the name is not
        // A backslash and a colon of a Linux name travel as U+F05C and U+F03A.
        {"T:\\A" + bs + "B" + co + "C.TXT", "T:\\a" + bs + "b" + co + "c.txt", "a\\b:c.txt"},
        {"T:\\\xFF.TXT", "T:\\\xFF.txt", "\xFF.txt"},  // not UTF-8
    };
    for (const auto& row : rows) {
        for (const std::string& name : {row.name, row.full == none ? row.name : row.full}) {
            EXPECT_EQ(FullNameOf(name), row.full) << name;
            EXPECT_EQ(ContentOf(name), row.content) << name;
        }
    }
}

// Of several spellings the one given, else the one in small letters, else
// the byte-wise smallest: also where the directory's index answers first,
// as it does after an answer in another spelling.
TEST_P(HostNames, OfSeveralSpellingsTheGivenThenSmallLettersThenTheSmallest) {
    for (const char* name : {"twin.txt", "TWIN.TXT", "Twin.Txt", "Dup.Txt", "DUP.TXT"}) {
        dir.Write(name, name);
    }
    for (const char* given : {"TWIN.TXT", "Twin.Txt", "twin.txt"}) {
        EXPECT_EQ(FullNameOf("T:\\dup.TXT"), "T:\\DUP.TXT");
        EXPECT_EQ(FullNameOf("T:\\" + std::string(given)), "T:\\" + std::string(given));
        EXPECT_EQ(FullNameOf("T:\\TWIN.tXt"), "T:\\twin.txt");
    }
}

TEST_P(HostNames, NoNameClimbsOutOfAMappedDrive) {
    ASSERT_TRUE(AfxMapDrive('T', (dir / "Data").c_str()));
    dir.Write("secret.txt", "outside");
    for (const char* name : {"T:\\..\\secret.txt", "T:/../SECRET.TXT", "T:..\\secret.txt",
                             "t:\\NONE\\..\\..\\secret.txt", "T:\\Reports\\..\\..\\..\\secret.txt",
                             "T:\\.\\..\\.\\secret.txt", "T:\\..\\Reports\\..\\..\\secret.txt"}) {
        EXPECT_NE(ContentOf(name), "outside") << name;
        CFile created(name, kCreate);
        EXPECT_EQ(created.GetFilePath(), "T:\\secret.txt") << name;
        created.Write("in", 2);
    }
    EXPECT_EQ(dir.Read("secret.txt"), "outside");
    EXPECT_EQ(dir.Read("Data/secret.txt"), "in");
    EXPECT_EQ(FullNameOf("\\..\\..\\"), "C:\\") << "the root of the file system";
    fs::create_symlink("../secret.txt", dir.path() / "Data" / "out");
    ASSERT_TRUE(AfxMapDrive('W', (dir / "Data").c_str(), AFX_DRIVE_WIDE_LINKS));
    EXPECT_EQ(ContentOf("T:\\OUT"), "(none)");
    EXPECT_EQ(ContentOf("W:\\OUT"), "outside") << "a drive with wide links follows it";
}

// The Linux path of a name: the entry with every link expanded, or where a
// missing last component would be made; nothing through a link out of the
// drive.
TEST_P(HostNames, TheLinuxPathIsTheEntryOrWhereItWouldBeMade) {
    const fs::path drive = dir.path() / "Drive";
    fs::create_directories(drive / "sub");
    dir.Write("Drive/sub/in.txt", "in");
    dir.Write("secret.txt", "secret");
    fs::create_symlink("sub/in.txt", drive / "chain");
    fs::create_symlink("..", drive / "sub" / "top");
    fs::create_symlink("../secret.txt", drive / "out");
    ASSERT_TRUE(AfxMapDrive('T', drive.c_str()));
    const std::string real = fs::canonical(drive).string();
    EXPECT_EQ(LinuxPathOf("T:\\Chain"), real + "/sub/in.txt");
    EXPECT_EQ(LinuxPathOf("t:\\SUB\\TOP\\New File.TXT"), real + "/New File.TXT");
    EXPECT_EQ(LinuxPathOf("T:\\OUT"), "(none)") << "a link out of the drive";
    EXPECT_EQ(LinuxPathOf("T:\\NONE\\New.txt") + LinuxPathOf(""), "(none)(none)");
}

// Names on disk, and the spellings that find them in each code page.
TEST_P(HostNames, CaseFoldingFollowsTheCodePage) {
    const struct {
        const char* onDisk;
        std::vector<std::string> utf8, windows1252;
    } rows[] = {
        {"résumé.txt", {"RÉSUMÉ.TXT", "RéSUMé.TXT"}, {"RéSUMé.TXT"}},
        {"файл.txt", {"ФАЙЛ.TXT"}, {}},
        {"σοφος", {"ΣΟΦΟΣ"}, {}},             // final sigma
        {"straße.txt", {"STRASSE.TXT"}, {}},  // full folding
        {"日本.Txt", {"日本.TXT"}, {"日本.TXT"}},
        {"😀 Smile.txt", {"😀 SMILE.TXT"}, {"😀 SMILE.TXT"}},
        {"\xE9t\xE9.txt", {"\xE9T\xE9.TXT"}, {"\xC9T\xC9.TXT", "\xE9T\xE9.TXT"}},  // not UTF-8
        {"\xE0.txt", {}, {"\xC0.TXT"}},                                            // a grave
        {"x\xF7", {"X\xF7"}, {"X\xF7"}},  // division sign: no letter
    };
    const std::vector<std::string> strangers = {"\xC9T\xC9.TXT", "X\xD7", "RÉSUME.TXT",
                                                "STRASE.TXT", "ФАЙ.TXT"};
    for (const auto& row : rows) {
        dir.Write(row.onDisk, row.onDisk);
    }
    for (const uint32_t codePage : {STR_CODEPAGE_UTF8, STR_CODEPAGE_WINDOWS_1252}) {
        ASSERT_NE(STR_SetCodePage(codePage), 0);
        for (const auto& row : rows) {
            for (const std::string& name :
                 codePage == STR_CODEPAGE_UTF8 ? row.utf8 : row.windows1252) {
                EXPECT_EQ(ContentOf("T:\\" + name), row.onDisk) << codePage << " " << name;
            }
        }
        for (const std::string& name : strangers) {
            const bool found = ContentOf("T:\\" + name) != "(none)";
            EXPECT_EQ(found, codePage == STR_CODEPAGE_WINDOWS_1252 && name[0] == '\xC9') << name;
        }
    }
    STR_SetCodePage(STR_CODEPAGE_UTF8);
}

// A directory that may not be made is access denied, whatever the kernel
// calls the reason: a read-only file system or a file system that makes no
// directories refuses it as the C runtime's _mkdir reports it.
TEST_P(HostNames, MakingADirectoryOnAReadOnlyFileSystemIsAccessDenied) {
    for (const int refusal : {EROFS, EPERM, EACCES}) {
        static int s_refusal;
        s_refusal = refusal;
        SystemCallsInUse().mkdirat = [](int, const char*, mode_t) {
            errno = s_refusal;
            return -1;
        };
        EXPECT_EQ(FILE_MkDir("T:\\DATA\\NEW"), ORVIK_MKDIR_REFUSED) << refusal;
        SystemCallsInUse().mkdirat = RealSystemCalls().mkdirat;
    }
    EXPECT_FALSE(fs::exists(dir.path() / "Data" / "NEW"));
}

// Eight threads make, find and remove names by other spellings in one
// directory while a name that never changes must be found throughout. A
// ninth maps U: back and forth meanwhile: a name resolved under one mapping
// is handed back under either (or T:, which maps the same directory).
TEST_P(HostNames, EightThreadsLookUpTheSameDirectoryWhileADriveIsMapped) {
    const std::set<std::string> readme = {"(none)", "U:\\readme.TXT", "U:\\Data\\readme.TXT",
                                          "T:\\Data\\readme.TXT"};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        for (int i = 0; i < 2000; ++i) {
            AfxMapDrive('U', (i % 2 ? dir.path() / "Data" : dir.path()).c_str());
        }
    });
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            const std::string mine = "T:\\Data\\T" + std::to_string(t) + ".Txt";
            for (int i = 0; i < 200; ++i) {
                CFile(mine.c_str(), kCreate).Close();
                wrong += FullNameOf(Upper(mine)) != mine;
                wrong += FullNameOf("T:\\DATA\\README.TXT") != "T:\\Data\\readme.TXT";
                CFile::Remove(Folded(mine).c_str());
                wrong += FullNameOf(mine) != "(none)";
                wrong += readme.count(FullNameOf("U:\\README.TXT")) == 0;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, 0);
}

// More directories than the index keeps, and more changes than the
// kernel queues: every answer stays true, and the index keeps watches, not
// descriptors.
TEST_P(HostNames, DroppedIndexesGiveTrueAnswers) {
    const auto lookUpAll = [&](const char* name) {
        int found = 0;
        for (int d = 0; d < 70; ++d) {
            found += FullNameOf("T:\\D" + std::to_string(d) + "\\" + name) != "(none)";
        }
        return found;
    };
    for (int d = 0; d < 70; ++d) {
        fs::create_directory(dir.path() / ("D" + std::to_string(d)));
        dir.Write("D" + std::to_string(d) + "/Name.Txt", "");
    }
    const auto descriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), {});
    };
    const auto held = descriptors();
    EXPECT_EQ(lookUpAll("NAME.TXT"), 70);
    EXPECT_LE(descriptors(), held + 1) << "the inotify descriptor at most";
    for (int d = 0; d < 70; ++d) {
        dir.Write("D" + std::to_string(d) + "/Other.Txt", "");
    }
    EXPECT_EQ(lookUpAll("NAME.TXT") + lookUpAll("OTHER.TXT"), 140) << "old names and new";

    int queued = 16384;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> queued;
    const fs::path a = dir / "D69/Other.Txt", b = dir / "D69/Swap.Txt";
    for (int i = 0; i <= queued / 2; ++i) {  // two events a rename
        fs::rename(i % 2 ? b : a, i % 2 ? a : b);
    }
    fs::rename(fs::exists(a) ? a : b, dir / "D69/Last.Txt");
    EXPECT_EQ(FullNameOf("T:\\D69\\LAST.TXT"), "T:\\D69\\Last.Txt");
    EXPECT_EQ(FullNameOf("T:\\D69\\OTHER.TXT"), "(none)");
}

TEST_P(HostNames, RelativeNamesAndDrivesMappedOntoDirectories) {
    ASSERT_EQ(AfxChDir("T:\\DATA\\REPORTS"), 0);
    EXPECT_EQ(fs::current_path(), dir.path() / "Data/Reports");
    EXPECT_EQ(ContentOf("..\\README.TXT"), "readme");
    EXPECT_EQ(ContentOf("..\\..\\DATA\\README.TXT"), "readme");
    EXPECT_EQ(FullNameOf(".\\q1 summary.txt"), "T:\\Data\\Reports\\Q1 Summary.txt");
    ASSERT_EQ(AfxChDir(".."), 0);
    ASSERT_TRUE(AfxMapDrive('r', "REPORTS"));  // against the current directory of the call
    ASSERT_EQ(AfxChDir("C:\\"), 0);
    EXPECT_EQ(ContentOf("R:\\Q1 SUMMARY.TXT"), "q1");
    EXPECT_EQ(FullNameOf("T:\\DATA\\REPORTS\\Q1 SUMMARY.TXT"), "T:\\Data\\Reports\\Q1 Summary.txt")
        << "a name keeps its drive";
    EXPECT_EQ(FullNameOf(Upper(dir / "data/reports/q1 summary.txt")), "R:\\Q1 Summary.txt")
        << "a name from the root comes back under the closest drive";
    for (const char notALetter : {'1', '@', '['}) {
        EXPECT_FALSE(AfxMapDrive(notALetter, "/")) << notALetter;
    }
    EXPECT_FALSE(AfxMapDrive('T', ""));
    EXPECT_EQ(ContentOf("T:\\DATA\\README.TXT"), "readme") << "a refused mapping changes nothing";

    ASSERT_TRUE(AfxMapDrive('T', nullptr));
    const std::string readme = HostPath(dir / "Data/readme.TXT");
    EXPECT_EQ(FullNameOf(Upper(dir / "data/readme.txt")), readme) << "back on the root";
    EXPECT_EQ(ContentOf("T:\\DATA\\README.TXT"), "(none)");
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        ASSERT_TRUE(AfxMapDrive(letter, (dir / "Data/Reports").c_str()));
    }
    EXPECT_EQ(FullNameOf(readme.substr(2)), readme.substr(2)) << "no drive holds it";
}

}  // namespace
