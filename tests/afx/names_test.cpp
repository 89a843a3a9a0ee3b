// Names in the host's form (backslashes, drive letters, any case) reaching
// the entries of a case-sensitive disk through the platform classes, and once
// through the whole library as hosts compose them (HostNameRoundTrip).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "OrvikAfx.h"
#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "OrvikSTR_Lib.h"
#include "afx/system_calls.h"
#include "temp_dir.h"

namespace {

using orvik::afx::RealSystemCalls;
using orvik::afx::SystemCallsInUse;
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

std::string LinuxPathOf(const std::string& name) {
    CString path;
    return AfxGetLinuxPath(name.c_str(), path) ? path.GetString() : "(none)";
}

// How names are resolved: the kernel first, or (as on a kernel without
// openat2) the library's own walk alone. Both must give the same answers.
enum class Resolution { kernelFirst, walkAlone };

long NoOpenat2(int, const char*, const struct open_how*, size_t) {
    errno = ENOSYS;
    return -1;
}

// A drive T: mapped onto a fresh directory, given back on the way out.
class HostNames : public ::testing::TestWithParam<Resolution> {
protected:
    void SetUp() override {
        if (GetParam() == Resolution::walkAlone) {
            SystemCallsInUse().openat2 = NoOpenat2;
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

INSTANTIATE_TEST_SUITE_P(, HostNames,
                         ::testing::Values(Resolution::kernelFirst, Resolution::walkAlone),
                         [](const ::testing::TestParamInfo<Resolution>& param) {
                             return param.param == Resolution::kernelFirst ? "KernelFirst"
                                                                           : "WalkAlone";
                         });

// Each name's full name and the content it opens; "*" is not looked at.
TEST_P(HostNames, AnyCaseEitherSeparatorAndAnyDriveFindTheEntry) {
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
    EXPECT_EQ(FullNameOf("T:\\A\\..\\README.TXT"), "T:\\readme.TXT") << "a missing a";
    EXPECT_EQ(FullNameOf("\\..\\..\\"), "C:\\") << "the root of the file system";
}

// The cause with which opening `name` for reading is refused, or -1 when
// it opens.
int OpenRefusal(const std::string& name) {
    CFile file;
    CFileException error;
    return file.Open(name.c_str(), kRead, &error) ? -1 : error.m_cause;
}

// Links planted in drive T:, each with what a name through it reaches: the
// content of Drive/sub/in.txt, of the secret outside the drive, or the
// cause with which the link is refused.
TEST_P(HostNames, LinksAreFollowedOnlyWhileTheyStayInsideTheDrive) {
    const fs::path drive = dir.path() / "Drive", outside = dir.path() / "Outside";
    fs::create_directories(drive / "sub");
    fs::create_directories(outside / "dir");
    dir.Write("Drive/sub/in.txt", "in");
    dir.Write("Outside/secret.txt", "secret");
    // clang-format off
    const struct { const char* link; std::string target; } links[] = {
        {"rel_in", "sub/in.txt"}, {"chain", "rel_in"}, {"up_in", "sub/../sub/in.txt"},
        {"abs_in", (drive / "sub").string()}, {"sub/top", ".."},
        {"rel_out", "../Outside/secret.txt"}, {"abs_out", outside.string()},
        {"up_out", "sub/../../Outside"}, {"via_top", "sub/top/../Outside"}, {"loop", "loop"},
    };
    const struct { const char* name; std::string content; int refusal; } rows[] = {
        {"T:\\REL_IN", "in", -1}, {"T:\\Chain", "in", -1}, {"T:\\UP_IN", "in", -1},
        {"T:\\ABS_IN\\IN.TXT", "in", -1}, {"T:\\SUB\\TOP\\SUB\\IN.TXT", "in", -1},
        {"T:\\REL_OUT", "", CFileException::accessDenied},
        {"T:\\ABS_OUT\\SECRET.TXT", "", CFileException::accessDenied},
        {"T:\\abs_out\\secret.txt", "", CFileException::accessDenied},
        {"T:\\UP_OUT\\SECRET.TXT", "", CFileException::accessDenied},
        {"T:\\VIA_TOP\\SECRET.TXT", "", CFileException::accessDenied},
        {"T:\\LOOP", "", CFileException::badPath},
    };
    // clang-format on
    for (const auto& link : links) {
        fs::create_symlink(link.target, drive / link.link);
    }
    ASSERT_TRUE(AfxMapDrive('T', drive.c_str()));
    ASSERT_TRUE(AfxMapDrive('W', drive.c_str(), AFX_DRIVE_WIDE_LINKS));
    for (const auto& row : rows) {
        EXPECT_EQ(ContentOf(row.name), row.refusal < 0 ? row.content : "(none)") << row.name;
        EXPECT_EQ(OpenRefusal(row.name), row.refusal) << row.name;
        EXPECT_EQ(FullNameOf(row.name) != "(none)", row.refusal < 0) << row.name;
        EXPECT_EQ(LinuxPathOf(row.name) != "(none)", row.refusal < 0) << row.name;
        const std::string wide = "W" + std::string(row.name + 1);
        EXPECT_EQ(ContentOf(wide) != "(none)", row.refusal != CFileException::badPath) << wide;
    }
    EXPECT_EQ(ContentOf(Upper(drive / "rel_out")), "secret") << "from the root nothing is outside";
    EXPECT_EQ(FullNameOf("T:\\Chain"), "T:\\chain") << "handed back through the link";
    const std::string real = fs::canonical(drive).string();  // links expanded, missing leaf kept
    EXPECT_EQ(LinuxPathOf("T:\\Chain"), real + "/sub/in.txt");
    EXPECT_EQ(LinuxPathOf("t:\\SUB\\TOP\\New File.TXT"), real + "/New File.TXT");
    EXPECT_EQ(LinuxPathOf("T:\\NONE\\New.txt") + LinuxPathOf(""), "(none)(none)");
    // Nothing outside is made, emptied, removed or entered through a link.
    EXPECT_FALSE(CFile().Open("T:\\ABS_OUT\\NEW.TXT", kCreate));
    EXPECT_FALSE(CFile().Open("T:\\REL_OUT", kCreate));
    EXPECT_EQ(FILE_MkDir("T:\\ABS_OUT\\NEW"), ORVIK_MKDIR_REFUSED);
    EXPECT_EQ(FILE_Move2Dir("T:\\ABS_OUT\\DIR"), ORVIK_MOVE2DIR_REFUSED);
    EXPECT_NE(FILE_Remove4Name("T:\\ABS_OUT\\SECRET.TXT"), nullptr);
    EXPECT_EQ(dir.Read("Outside/secret.txt"), "secret");
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), {}), 2) << "nothing made outside";
    EXPECT_EQ(FILE_Remove4Name("T:\\REL_OUT"), nullptr) << "the link itself goes";
    EXPECT_TRUE(fs::exists(outside / "secret.txt") && !fs::is_symlink(drive / "rel_out"));
    EXPECT_EQ(AfxChDir("T:\\SUB\\TOP"), 0) << "a link to the drive's top";
    EXPECT_EQ(fs::current_path(), drive);
}

struct Identity {
    dev_t device;
    ino_t inode;
    bool operator==(const Identity& other) const {
        return device == other.device && inode == other.inode;
    }
};

// The entry that an open file object holds.
Identity IdentityOf(const CFile& file) {
    struct stat info {};
    ::fstat(static_cast<int>(file.m_hFile), &info);
    return {info.st_dev, info.st_ino};
}

// A Linux name of one to four pieces that the host form cannot all carry
// as they are: separators of the host form, bytes that are not UTF-8,
// letters in both cases, blanks and stops.
std::string GeneratedName(std::mt19937& random) {
    static const char* const kPieces[] = {"a",        "B",    "\\",          ":",     "\xC3\xA9",
                                          "\xC3\x89", " ",    ".",           "x.TXT", "\xFF",
                                          "C:",       "\\\\", "\xE6\x97\xA5"};
    std::string name;
    const size_t pieces = 1 + random() % 4;
    for (size_t i = 0; i < pieces; ++i) {
        name += kPieces[random() % (sizeof kPieces / sizeof kPieces[0])];
    }
    return name == "." || name == ".." ? name + "a" : name;
}

// Directories with generated names, nested: a file opened inside each by a
// relative name, and the directory itself, come back with names that open
// them again from elsewhere, and through a drive mapped onto them.
TEST_P(HostNames, EveryNameHandedBackOpensItsOwnEntryAgain) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 60; ++round) {
        fs::path place = dir.path() / ("round" + std::to_string(round));
        for (int depth = 0; depth < 3; ++depth) {
            place /= GeneratedName(random);
        }
        fs::create_directories(place);
        std::ofstream(place / "f.txt") << round;
        fs::current_path(place);
        CFile file;
        ASSERT_TRUE(file.Open("F.TXT", kRead)) << place;
        const std::string handedBack = file.GetFilePath().GetString();
        CFileStatus status;
        ASSERT_TRUE(CFile::GetStatus(".", status)) << place;
        const std::string directory = status.m_szFullName;
        ASSERT_TRUE(AfxMapDrive('W', "."));
        fs::current_path(dir.path());
        CFile again, viaDrive;
        ASSERT_TRUE(again.Open(handedBack.c_str(), kRead)) << handedBack;
        EXPECT_TRUE(IdentityOf(again) == IdentityOf(file)) << handedBack;
        EXPECT_EQ(FullNameOf(directory), directory) << directory;
        ASSERT_TRUE(viaDrive.Open("W:\\F.TXT", kRead)) << place;
        EXPECT_TRUE(IdentityOf(viaDrive) == IdentityOf(file)) << place;
        EXPECT_EQ(FullNameOf(directory + "\\F.TXT"), handedBack);
    }
}

// Names on disk, and the names that find them (or "-" : find nothing) in
// either code page.
TEST_P(HostNames, CaseFoldingFollowsTheCodePage) {
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
// Exchanges the entries `a` and `b` atomically, names staying in place.
void Exchange(const fs::path& a, const fs::path& b) {
    constexpr unsigned kRenameExchange = 1u << 1;
    ASSERT_EQ(::syscall(SYS_renameat2, AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), kRenameExchange),
              0);
}

TEST_P(HostNames, ChangesByAnotherProcessAreSeenAtOnce) {
    const fs::path box = dir.path() / "Box", away = dir.path() / "Away";
    fs::create_directories(away);
    fs::create_directories(box);
    dir.Write("Box/Base.Txt", "");
    ASSERT_TRUE(AfxMapDrive('T', box.c_str()));
    ASSERT_TRUE(AfxMapDrive('U', away.c_str()));
    const auto touch = [](const fs::path& file) { std::ofstream{file}; };
    // Each change, and what names by other spellings find after it ("" : none).
    // clang-format off
    const struct { std::function<void()> change; std::map<std::string, std::string> found; } steps[] = {
        {[&] { touch(box / "Churn.Txt"); }, {{"T:\\CHURN.TXT", "T:\\Churn.Txt"}, {"T:\\MOVED.TXT", ""}}},
        {[&] { fs::rename(box / "Churn.Txt", box / "Moved.Txt"); }, {{"T:\\CHURN.TXT", ""}, {"T:\\MOVED.TXT", "T:\\Moved.Txt"}}},
        {[&] { fs::rename(box / "Moved.Txt", away / "Moved.Txt"); }, {{"T:\\MOVED.TXT", ""}, {"U:\\MOVED.TXT", "U:\\Moved.Txt"}}},
        {[&] { fs::rename(away / "Moved.Txt", box / "MOVED.txt"); }, {{"T:\\MOVED.TXT", "T:\\MOVED.txt"}, {"U:\\MOVED.TXT", ""}}},
        {[&] { fs::remove(box / "MOVED.txt"); }, {{"T:\\MOVED.TXT", ""}}},
        {[&] { fs::create_directory(box / "Sub.Dir"); }, {{"T:\\SUB.DIR", "T:\\Sub.Dir"}}},
        {[&] { fs::remove(box / "Sub.Dir"); }, {{"T:\\SUB.DIR", ""}}},
        {[&] { touch(box / "base.txt"); }, {{"T:\\BASE.TXT", "T:\\base.txt"}}},  // the lower-case spelling wins
        {[&] { fs::remove(box / "base.txt"); }, {{"T:\\BASE.TXT", "T:\\Base.Txt"}}},
        // Exchanges keep both names, in one directory and across two.
        {[&] { touch(box / "Other.Txt"); touch(away / "Far.Txt"); }, {{"T:\\OTHER.TXT", "T:\\Other.Txt"}, {"U:\\FAR.TXT", "U:\\Far.Txt"}}},
        {[&] { Exchange(box / "Base.Txt", box / "Other.Txt"); }, {{"T:\\BASE.TXT", "T:\\Base.Txt"}, {"T:\\OTHER.TXT", "T:\\Other.Txt"}}},
        {[&] { Exchange(box / "Other.Txt", away / "Far.Txt"); }, {{"T:\\OTHER.TXT", "T:\\Other.Txt"}, {"U:\\FAR.TXT", "U:\\Far.Txt"}}},
        // A rename over an entry, and over a hard link of itself (which changes nothing).
        {[&] { touch(box / "Tmp.Txt"); fs::rename(box / "Tmp.Txt", box / "Other.Txt"); }, {{"T:\\TMP.TXT", ""}, {"T:\\OTHER.TXT", "T:\\Other.Txt"}}},
        {[&] { fs::create_hard_link(box / "Base.Txt", box / "Hard.Txt"); fs::rename(box / "Hard.Txt", box / "Base.Txt"); },
         {{"T:\\HARD.TXT", "T:\\Hard.Txt"}, {"T:\\BASE.TXT", "T:\\Base.Txt"}}},
        {[&] { fs::remove(box / "Hard.Txt"); fs::remove(box / "Other.Txt"); fs::remove(away / "Far.Txt"); },
         {{"T:\\HARD.TXT", ""}, {"T:\\OTHER.TXT", ""}, {"U:\\FAR.TXT", ""}, {"T:\\BASE.TXT", "T:\\Base.Txt"}}},
        // A drive stays with the directory it was mapped onto, whatever its name becomes.
        {[&] { fs::rename(box, away / "Old"); fs::create_directory(box); touch(box / "New.Txt"); },
         {{"T:\\BASE.TXT", "T:\\Base.Txt"}, {"T:\\NEW.TXT", ""}}},
        {[&] { fs::remove_all(box); fs::rename(away / "Old", box); },
         {{"T:\\BASE.TXT", "T:\\Base.Txt"}, {"T:\\NEW.TXT", ""}}},
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
                EXPECT_EQ(FullNameOf(name), onDisk.empty() ? "(none)" : onDisk)
                    << "round " << round << " " << name;
            }
            ::write(go[1], &byte, 1);
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
}

// Runs `checks` in a child process (as the user nobody when this one is
// root, so that permissions bind) and gives back what it found wrong.
std::string InChild(const fs::path& tree, const std::function<std::string()>& checks) {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0) {
        for (const auto& entry : fs::recursive_directory_iterator(tree)) {
            ::lchown(entry.path().c_str(), kNobody, kNobody);
        }
        ::chown(tree.c_str(), kNobody, kNobody);
    }
    int found[2];
    if (::pipe(found) != 0) {
        return "no pipe";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        std::string wrong;
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
             ::setresuid(kNobody, kNobody, kNobody) != 0)) {
            wrong = "cannot become nobody";
        } else {
            wrong = checks();
        }
        const ssize_t written = ::write(found[1], wrong.data(), wrong.size());
        ::_exit(written == static_cast<ssize_t>(wrong.size()) ? 0 : 1);
    }
    ::close(found[1]);
    std::string wrong;
    char buffer[256];
    for (ssize_t got; (got = ::read(found[0], buffer, sizeof buffer)) > 0;) {
        wrong.append(buffer, static_cast<size_t>(got));
    }
    ::close(found[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return status == 0 ? wrong : wrong + " (the child failed)";
}

// "" when `holds`, else `what` and a blank.
std::string Unless(bool holds, const std::string& what) {
    return holds ? "" : what + "; ";
}

// A directory that cannot be listed (a drop box: write and search, no read)
// or no descriptor left: a name that needs the listing fails with its cause
// and nothing is made under a spelling that was not checked.
TEST_P(HostNames, ALookupThatCannotReadTheDirectoryFailsWithItsCause) {
    const fs::path box = dir.path() / "Box";
    fs::create_directories(box / "SubDir");
    dir.Write("Box/SubDir/KEEP.TXT", "keep");
    dir.Write("Box/Mixed.Txt", "mixed");
    const auto secondSpellings = [&] {
        return Unless(!fs::exists(box / "SUBDIR") && !fs::exists(box / "MIXED.TXT"),
                      "a second spelling was made");
    };
    const auto openForWriting = [](const char* name) {
        CFile file;
        return FILE_Open(&file, name, ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_KEEP);
    };
    const std::string dropBox = InChild(dir.path(), [&] {
        fs::permissions(box, fs::perms::owner_write | fs::perms::owner_exec);
        if (!AfxMapDrive('T', box.c_str())) {
            return std::string("no drive");
        }
        return Unless(FILE_MkDir("T:\\SUBDIR") == ORVIK_MKDIR_REFUSED, "mkdir") +
               Unless(openForWriting("T:\\MIXED.TXT") == MSG_GetStr(ORVIK_MSG_ACCESS_DENIED) &&
                          GEN_GetRetCode() == ORVIK_RC_OPEN_FAILED,
                      "open for writing") +
               Unless(FILE_FileExists("T:\\SubDir\\KEEP.TXT") != 0, "exact names still work") +
               Unless(openForWriting("T:\\Mixed.Txt") == nullptr, "exact open") + secondSpellings();
    });
    EXPECT_EQ(dropBox, "");
    fs::permissions(box, fs::perms::owner_all);
    EXPECT_EQ(dir.Read("Box/Mixed.Txt"), "mixed");
    // No descriptor left for a listing (nor for a queue of changes): the
    // kernel's EMFILE, given where the lookup needs one.
    ASSERT_TRUE(AfxMapDrive('T', box.c_str()));
    SystemCallsInUse().openat = [](int at, const char* name, int flags, mode_t mode) {
        if ((flags & O_DIRECTORY) != 0 && (flags & O_PATH) == 0) {
            errno = EMFILE;
            return -1;
        }
        return RealSystemCalls().openat(at, name, flags, mode);
    };
    SystemCallsInUse().inotify_init1 = [](int) {
        errno = EMFILE;
        return -1;
    };
    EXPECT_EQ(FILE_MkDir("T:\\SUBDIR"), ORVIK_MKDIR_FAILED);
    EXPECT_EQ(openForWriting("T:\\MIXED.TXT"), MSG_GetStr(ORVIK_MSG_TOO_MANY_OPEN_FILES));
    EXPECT_NE(FILE_FileExists("T:\\MIXED.TXT"), 0) << "cannot tell: may exist";
    SystemCallsInUse() = RealSystemCalls();
    EXPECT_EQ(secondSpellings(), "");
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

// Forks while other threads resolve names through the index and map a
// drive: every child resolves names too, and none waits forever on a lock.
TEST_P(HostNames, ForksWhileOtherThreadsResolveNames) {
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&] {
            while (!stop) {
                FullNameOf("T:\\DATA\\README.TXT");
                AfxMapDrive('V', (dir.path() / "Data").c_str());
            }
        });
    }
    int hung = 0, wrong = 0;
    for (int i = 0; i < 60; ++i) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(10);
            const bool found = FullNameOf("T:\\DATA\\README.TXT") == "T:\\Data\\readme.TXT" &&
                               AfxMapDrive('V', dir.path().c_str()) &&
                               FullNameOf("V:\\DATA\\README.TXT") == "V:\\Data\\readme.TXT";
            ::_exit(found ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        hung += WIFSIGNALED(status) ? 1 : 0;
        wrong += WIFEXITED(status) && WEXITSTATUS(status) != 0 ? 1 : 0;
    }
    stop = true;
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(hung, 0) << "children that waited forever";
    EXPECT_EQ(wrong, 0) << "children that resolved wrongly";
}

// Eight threads make, find and remove names by other spellings in four
// directories while names that never change must be found throughout. A
// ninth maps U: back and forth meanwhile: a name resolved under one mapping
// is handed back under either (or T:, which maps the same directory).
TEST_P(HostNames, EightThreadsLookUpTheSameDirectoriesWhileADriveIsMapped) {
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
TEST_P(HostNames, NewEntriesKeepTheGivenLastNameInTheResolvedParent) {
    EXPECT_EQ(CFile("T:\\data\\README.txt", kCreate | CFile::modeNoTruncate).GetLength(), 6u)
        << "an entry of another case is opened, not doubled";
    EXPECT_EQ(AfxMkDir("T:\\DATA\\Sub Dir"), 0);
    EXPECT_EQ(AfxMkDir("T:\\DATA\\SUB DIR"), -1) << "exists in another case";
    EXPECT_EQ(AfxMkDir("T:\\NONE\\New"), -1);
    EXPECT_TRUE(fs::is_directory(dir.path() / "Data/Sub Dir"));
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir.path()), {}), 5)
        << "nothing else made: Data, Reports, Sub Dir and the two files";
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
    EXPECT_EQ(OpenAs(report, ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY, "new line\n"),
              dir.Host("data/reports/report.txt"));
    EXPECT_EQ(dir.Read("data/reports/report.txt"), "new line\n");
    // No drive, and a new suffix: a new file named as composed, beside it.
    std::string fresh = PathFile(dir / "data/reports", " fresh name.txt ") + "        ";
    fresh.resize(static_cast<size_t>(FILE_NewSuffix(fresh.data(), "bak")));
    EXPECT_EQ(OpenAs(fresh, ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_KEEP, "backup\n"),
              dir.Host("data/reports/FRESH NAME.bak"));
    // A UTF-8 name keeps its bytes when composed and is found again in any case.
    const std::string resume = dir.Host("data/R\xC3\xA9SUM\xC3\xA9.TXT");
    EXPECT_EQ(OpenAs(PathFile(dir / "data", "r\xC3\xA9sum\xC3\xA9.txt"), ORVIK_OPEN_READ_WRITE,
                     ORVIK_OPEN_EMPTY, "cv"),
              resume);
    EXPECT_EQ(OpenAs(dir / "data/R\xC3\x89SUM\xC3\x89.txt", ORVIK_OPEN_READ), resume);
    for (const std::string& refused : {PathFile(dir / "data", "none\\x.txt"), std::string()}) {
        EXPECT_EQ(OpenAs(refused, ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY), "(none)") << refused;
    }
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir.path()), {}), 5)
        << "nothing made in the wrong place";
    EXPECT_EQ(dir.Read("data/reports/FRESH NAME.bak"), "backup\n");
    EXPECT_EQ(FILE_Remove4Name(report.c_str()), nullptr);
    EXPECT_EQ(FILE_FileExists(report.c_str()), 0);
}

}  // namespace
