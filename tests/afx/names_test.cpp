// Names in the host's form (backslashes, drive letters, any case) reaching
// the entries of a case-sensitive disk through the platform classes, and once
// through the whole library as hosts compose them (HostNameRoundTrip).
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "OrvikAfx.h"
#include "OrvikFILE_Lib.h"
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

// Each name's full name and the content it opens; "*" is not looked at.
TEST_F(HostNames, AnyCaseEitherSeparatorAndAnyDriveFindTheEntry) {
    for (const char* name :
         {"a.txt", "A.TXT", "A.Txt", "B.TXT", "b.Txt", "caf\xC3\xA9 au lait.txt"}) {
        dir.Write(name, name);
    }
    fs::create_directories(dir.path() / "sub");
    fs::create_directories(dir.path() / "Sub");
    dir.Write("Sub/x.txt", "x");
    const std::string q1 = "T:\\Data\\Reports\\Q1 Summary.txt";
    // clang-format off
    const struct { std::string name, full, content; } rows[] = {
        {"T:\\DATA\\REPORTS\\Q1 SUMMARY.TXT", q1, "q1"}, {"t:/data/reports/q1 summary.txt", q1, "q1"},
        {"T:\\\\Data/\\REPORTS\\.\\Q1 Summary.txt", q1, "q1"}, {"T:DATA\\Reports\\q1 SUMMARY.txt", q1, "q1"},
        {Upper(HostPath(dir / "Data/README.txt")), "*", "readme"},  // the whole path, from C:
        {Upper(dir / "data/readme.txt"), "*", "readme"},  // a POSIX name too
        {"T:\\DATA\\", "T:\\Data", "*"}, {"T:\\DATA\\README.TXT\\", "*", "(none)"},  // names a directory
        {"T:\\DATA\\README.TXT\\X", "*", "(none)"},  // a file holds no entries
        {"C:\\PROC\\NONE", "*", "(none)"},  // the directory is read though no index is kept
        {"T:\\Data\\Reports\\..\\README.TXT", "T:\\Data\\readme.TXT", "readme"},
        {"T:\\DATA\\NONE\\..\\README.TXT", "T:\\Data\\readme.TXT", "readme"},  // .. as text
        {"T:", "T:\\", "*"}, {"C:", "C:\\", "*"}, {"Z:\\", "C:\\", "*"}, {"\\", "C:\\", "*"},
        {"T:\\CAF\xC3\xA9 AU LAIT.TXT", "T:\\caf\xC3\xA9 au lait.txt", "caf\xC3\xA9 au lait.txt"},
        // The exact spelling wins, then the all-lower-case one, then the byte-wise smallest.
        {"T:\\a.txt", "T:\\a.txt", "a.txt"}, {"T:\\A.TXT", "*", "A.TXT"}, {"T:\\A.Txt", "*", "A.Txt"},
        {"T:\\a.TXT", "T:\\a.txt", "a.txt"}, {"T:\\b.txt", "T:\\B.TXT", "B.TXT"}, {"T:\\B.tXT", "*", "B.TXT"},
        {"T:\\Sub\\X.TXT", "T:\\Sub\\x.txt", "x"},  // an exact directory too, though the name is not
    };
    // clang-format on
    for (const auto& row : rows) {
        // The full name handed back finds itself and opens the same file.
        for (const std::string& name : {row.name, row.full == "*" ? row.name : row.full}) {
            EXPECT_EQ(row.full == "*" ? "*" : FullNameOf(name), row.full) << name;
            EXPECT_EQ(row.content == "*" ? "*" : ContentOf(name), row.content) << name;
        }
    }
}

TEST_F(HostNames, NoNameClimbsOutOfAMappedDrive) {
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
    EXPECT_EQ(FullNameOf("T:\\A\\..\\README.TXT"), "T:\\readme.TXT") << "a missing a";
    EXPECT_EQ(FullNameOf("\\..\\..\\"), "C:\\") << "the root of the file system";
}

// Names on disk, and the names that find them (or "-" : find nothing) in
// either code page.
TEST_F(HostNames, CaseFoldingFollowsTheCodePage) {
    // clang-format off
    const struct { const char* onDisk; std::vector<std::string> utf8, windows1252; } rows[] = {
        {"r\xC3\xA9sum\xC3\xA9.txt", {"R\xC3\x89SUM\xC3\x89.TXT", "R\xC3\xA9sum\xC3\xA9.txt", "R\xC3\xA9SUM\xC3\xA9.TXT"},
                                  {"R\xC3\xA9SUM\xC3\xA9.TXT"}},
        {"\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB.txt", {"\xD0\xA4\xD0\x90\xD0\x99\xD0\x9B.TXT"}, {}},     // Cyrillic
        {"\xCF\x83\xCE\xBF\xCF\x86\xCE\xBF\xCF\x82", {"\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x9F\xCE\xA3"}, {}},  // Greek, final sigma
        {"stra\xC3\x9F" "e.txt", {"STRASSE.TXT"}, {}},                             // full folding
        {"\xE6\x97\xA5\xE6\x9C\xAC.Txt", {"\xE6\x97\xA5\xE6\x9C\xAC.TXT"}, {"\xE6\x97\xA5\xE6\x9C\xAC.TXT"}},
        {"\xF0\x9F\x98\x80 Smile.txt", {"\xF0\x9F\x98\x80 SMILE.TXT"}, {"\xF0\x9F\x98\x80 SMILE.TXT"}},
        {"\xE9t\xE9.txt", {"\xE9T\xE9.TXT"}, {"\xC9T\xC9.TXT", "\xE9T\xE9.TXT"}},  // not UTF-8
        {"x\xF7", {"X\xF7"}, {"X\xF7"}},  // division sign: no letter
    };
    const std::vector<std::string> strangers = {
        "\xC9T\xC9.TXT", "X\xD7", "R\xC3\x89SUME.TXT", "STRASE.TXT", "\xD0\xA4\xD0\x90\xD0\x99.TXT"};
    // clang-format on
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

// Another process changes a directory step by step; after each change has
// completed, this one looks names up by other spellings ("" : none found).
TEST_F(HostNames, ChangesByAnotherProcessAreSeenAtOnce) {
    const fs::path box = dir.path() / "Box", away = dir.path() / "Away";
    fs::create_directories(away);
    fs::create_directories(box);
    dir.Write("Box/Base.Txt", "");
    ASSERT_TRUE(AfxMapDrive('T', box.c_str()));
    const auto touch = [](const fs::path& file) { std::ofstream{file}; };
    // clang-format off
    const struct { std::function<void()> change; std::map<std::string, std::string> found; } steps[] = {
        {[&] { touch(box / "Churn.Txt"); }, {{"CHURN.TXT", "Churn.Txt"}, {"MOVED.TXT", ""}}},
        {[&] { fs::rename(box / "Churn.Txt", box / "Moved.Txt"); }, {{"CHURN.TXT", ""}, {"MOVED.TXT", "Moved.Txt"}}},
        {[&] { fs::rename(box / "Moved.Txt", away / "Moved.Txt"); }, {{"MOVED.TXT", ""}}},
        {[&] { fs::rename(away / "Moved.Txt", box / "MOVED.txt"); }, {{"MOVED.TXT", "MOVED.txt"}}},
        {[&] { fs::remove(box / "MOVED.txt"); }, {{"MOVED.TXT", ""}}},
        {[&] { fs::create_directory(box / "Sub.Dir"); }, {{"SUB.DIR", "Sub.Dir"}}},
        {[&] { fs::remove(box / "Sub.Dir"); }, {{"SUB.DIR", ""}}},
        {[&] { touch(box / "base.txt"); }, {{"BASE.TXT", "base.txt"}}},  // the lower-case spelling wins
        {[&] { fs::remove(box / "base.txt"); }, {{"BASE.TXT", "Base.Txt"}}},
        // A drive stays with the directory it was mapped onto, whatever its name becomes.
        {[&] { fs::rename(box, away / "Old"); fs::create_directory(box); touch(box / "New.Txt"); },
         {{"BASE.TXT", "Base.Txt"}, {"NEW.TXT", ""}}},
        {[&] { fs::remove_all(box); fs::rename(away / "Old", box); },
         {{"BASE.TXT", "Base.Txt"}, {"NEW.TXT", ""}}},
    };
    // clang-format on
    int go[2], done[2];
    ASSERT_EQ(::pipe(go) | ::pipe(done), 0);
    constexpr int kRounds = 20;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(go[1]);  // so that the child stops when this process stops early
        char byte = 0;
        for (int round = 0; round < kRounds; ++round) {
            for (const auto& step : steps) {
                step.change();
                if (::write(done[1], &byte, 1) != 1 || ::read(go[0], &byte, 1) != 1) {
                    ::_exit(1);
                }
            }
        }
        ::_exit(0);
    }
    const struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } stopsTheChild{go[1]};
    EXPECT_EQ(FullNameOf("T:\\NONE.TXT"), "(none)");  // the directory read once
    for (int round = 0; round < kRounds; ++round) {
        for (const auto& step : steps) {
            char byte = 0;
            ASSERT_EQ(::read(done[0], &byte, 1), 1);
            for (const auto& [name, onDisk] : step.found) {
                EXPECT_EQ(FullNameOf("T:\\" + name), onDisk.empty() ? "(none)" : "T:\\" + onDisk)
                    << "round " << round << " " << name;
            }
            ::write(go[1], &byte, 1);
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
}

// Eight threads make, find and remove names by other spellings in four
// directories while names that never change must be found throughout. A
// ninth maps U: back and forth meanwhile: a name resolved under one mapping
// is handed back under either (or T:, which maps the same directory).
TEST_F(HostNames, EightThreadsLookUpTheSameDirectoriesWhileADriveIsMapped) {
    for (int d = 0; d < 4; ++d) {
        fs::create_directory(dir.path() / ("Dir" + std::to_string(d)));
        dir.Write("Dir" + std::to_string(d) + "/Stable.Txt", "");
    }
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
            const std::string base = "T:\\DIR" + std::to_string(t % 4) + "\\";
            const std::string mine = base + "T" + std::to_string(t) + ".Txt";
            for (int i = 0; i < 200; ++i) {
                CFile(mine.c_str(), kCreate).Close();
                wrong += FullNameOf(base + "T" + std::to_string(t) + ".TXT") == "(none)";
                wrong += FullNameOf(base + "STABLE.TXT") == "(none)";
                CFile::Remove((base + "t" + std::to_string(t) + ".TXT").c_str());
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
// kernel queues: every answer stays true.
TEST_F(HostNames, DroppedIndexesGiveTrueAnswers) {
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
    EXPECT_EQ(lookUpAll("NAME.TXT"), 70);
    for (int d = 0; d < 70; ++d) {
        fs::rename(dir / ("D" + std::to_string(d) + "/Name.Txt"),
                   dir / ("D" + std::to_string(d) + "/Other.Txt"));
    }
    EXPECT_EQ(lookUpAll("NAME.TXT"), 0);
    EXPECT_EQ(lookUpAll("OTHER.TXT"), 70);

    std::ifstream limit("/proc/sys/fs/inotify/max_queued_events");
    int queued = 16384;
    limit >> queued;
    const fs::path a = dir / "D69/Other.Txt", b = dir / "D69/Swap.Txt";
    for (int i = 0; i <= queued / 2; ++i) {  // two events a rename
        fs::rename(i % 2 ? b : a, i % 2 ? a : b);
    }
    fs::rename(fs::exists(a) ? a : b, dir / "D69/Last.Txt");
    EXPECT_EQ(FullNameOf("T:\\D69\\LAST.TXT"), "T:\\D69\\Last.Txt");
    EXPECT_EQ(FullNameOf("T:\\D69\\OTHER.TXT"), "(none)");
}

// New files are the library round trip's check (HostNameRoundTrip).
TEST_F(HostNames, NewEntriesKeepTheGivenLastNameInTheResolvedParent) {
    EXPECT_EQ(CFile("T:\\data\\README.txt", kCreate | CFile::modeNoTruncate).GetLength(), 6u)
        << "an entry of another case is opened, not doubled";
    EXPECT_EQ(AfxMkDir("T:\\DATA\\Sub Dir"), 0);
    EXPECT_EQ(AfxMkDir("T:\\DATA\\SUB DIR"), -1) << "exists in another case";
    EXPECT_EQ(AfxMkDir("T:\\NONE\\New"), -1);
    EXPECT_TRUE(fs::is_directory(dir.path() / "Data/Sub Dir"));
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir.path()), {}), 5)
        << "nothing else made: Data, Reports, Sub Dir and the two files";
}

TEST_F(HostNames, RelativeNamesAndDrivesMappedOntoDirectories) {
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

// `dir` and `file` joined by FILE_PathFile: backslashes, upper case.
std::string PathFile(std::string dir, std::string file) {
    std::vector<char> dest(dir.size() + file.size() + 3);
    FILE_PathFile(dest.data(), dir.data(), file.data());
    return dest.data();
}

// Opens `name` through the library, writes `text` into it when there is one,
// and gives back the name the file object hands back, or "(none)".
std::string OpenAs(const std::string& name, uint32_t mode, int32_t create = 0,
                   const char* text = nullptr) {
    CFile file;
    if (FILE_Open(&file, name.c_str(), mode, create) != nullptr ||
        (text != nullptr && FILE_WriteStr(&file, text) != nullptr)) {
        return "(none)";
    }
    const std::string handedBack = FILE_GetPath(&file, nullptr, 0);
    return FILE_Close(&file) == nullptr ? handedBack : "(none)";
}

TEST(HostNameRoundTrip, ComposedNamesReachTheLowerCaseFilesAndCreateNothingElse) {
    const TempDir dir;
    fs::create_directories(dir.path() / "data" / "reports");
    dir.Write("data/reports/report.txt", "old\n");
    const std::string report = PathFile("c:" + dir / "data/reports", "report.txt");
    EXPECT_EQ(OpenAs(report, 2, 1, "new line\n"), dir.Host("data/reports/report.txt"));
    EXPECT_EQ(dir.Read("data/reports/report.txt"), "new line\n");
    // No drive, and a new suffix: a new file named as composed, beside it.
    std::string fresh = PathFile(dir / "data/reports", " fresh name.txt ") + "        ";
    fresh.resize(static_cast<size_t>(FILE_NewSuffix(fresh.data(), "bak")));
    EXPECT_EQ(OpenAs(fresh, 1, 0, "backup\n"), dir.Host("data/reports/FRESH NAME.bak"));
    // A UTF-8 name keeps its bytes when composed and is found again in any case.
    const std::string resume = dir.Host("data/R\xC3\xA9SUM\xC3\xA9.TXT");
    EXPECT_EQ(OpenAs(PathFile(dir / "data", "r\xC3\xA9sum\xC3\xA9.txt"), 2, 1, "cv"), resume);
    EXPECT_EQ(OpenAs(dir / "data/R\xC3\x89SUM\xC3\x89.txt", 0), resume);
    for (const std::string& refused : {PathFile(dir / "data", "none\\x.txt"), std::string()}) {
        EXPECT_EQ(OpenAs(refused, 2, 1), "(none)") << refused;
    }
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir.path()), {}), 5)
        << "nothing made in the wrong place";
    EXPECT_EQ(dir.Read("data/reports/FRESH NAME.bak"), "backup\n");
    EXPECT_EQ(FILE_Remove4Name(report.c_str()), nullptr);
    EXPECT_EQ(FILE_FileExists(report.c_str()), 0);
}

}  // namespace
