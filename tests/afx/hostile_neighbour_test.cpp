// A hostile neighbour changes a mapped drive between the library's calls.
// Each round it makes one change, chosen by a seeded generator; the library
// side then asks for every entry by other spellings, creates, makes a
// directory and removes, with the kernel's resolution and with the
// component walk alone, and holds each answer against the disk, read with
// the system calls themselves. Some rounds the library side is short of
// descriptors or memory for a moment, or forks while other threads resolve
// names. Nothing outside the drive may change.
//
// ORVIK_HOSTILE_ROUNDS and ORVIK_HOSTILE_SEED choose the run; a failure
// names its round, change and seed, which replay it (scripts/hostile.sh
// runs long ones).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "OrvikAfx.h"
#include "OrvikFILE_Lib.h"
#include "afx_test.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Rng = std::mt19937;  // the same numbers everywhere, so that a seed replays
using Tree = std::map<std::string, struct stat>;  // path under a directory -> lstat

constexpr UINT kRead = CFile::modeRead | CFile::shareDenyWrite;
constexpr uid_t kNobody = 65534;
const char* const kPool[] = {"alpha.txt",   "Beta.Txt", "GAMMA.TXT", "delta",
                             "Epsilon.Dat", "zeta.TXT", "Sub",       "Inner.txt"};

using orvik::test::Folded;
using orvik::test::NoOpenat2;
using orvik::test::Upper;

// As it is, in capitals, in small letters, or with some letters turned.
std::string AnyCase(Rng& rng, std::string name) {
    const unsigned how = rng() % 4;
    for (char& c : name) {
        const bool turn = how == 3 && rng() % 2 == 0;
        const bool up = how == 1 || (turn && std::islower(c) != 0);
        c = static_cast<char>(up ? std::toupper(c) : how == 2 || turn ? std::tolower(c) : c);
    }
    return name;
}
std::string Join(const fs::path& dir, const std::string& name) {
    return dir / name;
}
std::string Parent(const std::string& path) {
    return fs::path(path).parent_path();
}
std::string Leaf(const std::string& path) {
    return fs::path(path).filename();
}
// The components of a path, "" and "." left out, as the kernel reads them.
std::vector<std::string> Split(const fs::path& path) {
    std::vector<std::string> parts;
    for (const fs::path& part : path.relative_path()) {
        if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
    }
    return parts;
}

// Every entry under `root` to four levels, not through links; a directory
// this process cannot read is there without its entries.
Tree ListTree(const fs::path& root) {
    Tree tree;
    std::error_code failed;
    fs::recursive_directory_iterator at(root, fs::directory_options::skip_permission_denied,
                                        failed);
    for (; !failed && at != fs::end(at); at.increment(failed)) {
        struct stat info {};
        if (::lstat(at->path().c_str(), &info) == 0) {
            tree[at->path().lexically_relative(root).string()] = info;
        }
        if (at.depth() == 3) {
            at.disable_recursion_pending();
        }
    }
    return tree;
}

// Each entry's inode, mode, size and time of change, which any write, link
// or change of rights moves.
std::string Sketch(const fs::path& root) {
    std::ostringstream sketch;
    for (const auto& [path, info] : ListTree(root)) {
        sketch << path << ' ' << info.st_ino << ' ' << info.st_mode << ' ' << info.st_size << ' '
               << info.st_ctim.tv_nsec << "; ";
    }
    return sketch.str();
}

// Root gives up its rights for good, as an unprivileged host runs.
bool BecomeNobody() {
    return ::setgroups(0, nullptr) == 0 && ::setresgid(kNobody, kNobody, kNobody) == 0 &&
           ::setresuid(kNobody, kNobody, kNobody) == 0;
}

// This compiler's AddressSanitizer takes no lock of its allocator across
// fork(): a child may hang in malloc whatever the library does. Under it the
// children fork with no other thread running; the plain build forks while
// threads resolve names.
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kThreadsAtFork = 0;
#else
constexpr size_t kThreadsAtFork = 2;
#endif

// UndefinedBehaviorSanitizer checks an object of a dynamic type it has not
// met before by writing its vtable into a pipe: with fewer than two
// descriptors free it takes a sound object for a broken one. Its build
// leaves it those two when the host runs short of descriptors.
#if defined(ORVIK_UNDEFINED_SANITIZER)
constexpr rlim_t kSanitizerDescriptors = 2;
#else
constexpr rlim_t kSanitizerDescriptors = 0;
#endif

// Runs `body` in a child process, which ends with its result: its exit
// status, or -1 when the alarm ended it after `seconds` (it hung).
template <typename Body>
int InChild(Body body, unsigned seconds) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(seconds);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM ? -1 : status;
}

// Drive T: on a fresh tree, and beside it what no name on T: may reach: a
// sentinel tree, and an attic where the neighbour puts what it replaces.
struct Arena {
    Arena() {
        for (const char* dir : {"drive/A/Sub", "drive/B", "outside/Vault", "attic"}) {
            fs::create_directories(root / dir);
        }
        for (const char* file :
             {"drive/A/alpha.txt", "drive/A/Beta.Txt", "drive/A/Sub/GAMMA.TXT", "drive/B/delta",
              "drive/B/Delta", "drive/B/ALPHA.TXT", "drive/Epsilon.Dat", "outside/secret.txt",
              "outside/Vault/inner.txt"}) {
            std::ofstream(root / file) << file;
        }
        if (::geteuid() == 0) {  // for a run that gives up root
            ::lchown(root.c_str(), kNobody, kNobody);
            for (const auto& entry : fs::recursive_directory_iterator(root)) {
                ::lchown(entry.path().c_str(), kNobody, kNobody);
            }
        }
        mapped = AfxMapDrive('T', drive.c_str()) != FALSE;
        sentinel = Sketch(outside);
    }
    ~Arena() { AfxMapDrive('T', nullptr); }
    // An entry by its path from the drive's directory; "" is that directory
    // as "." in it, which the rights to search it bind as they bind any entry.
    fs::path On(const std::string& at) const { return drive / (at.empty() ? "." : at); }
    orvik::test::TempDir temp;
    const fs::path root = fs::canonical(temp.path());  // as the kernel names the drive
    const fs::path drive = root / "drive", outside = root / "outside", attic = root / "attic";
    bool mapped = false;
    std::string sentinel;
};

// What the disk holds for a name on T:, found with the system calls alone by
// the rules under "Names" in OrvikAfx.h.
struct Truth {
    int error = 0;             // 0: found
    bool leafMissing = false;  // ENOENT for the last component alone
    std::string at;            // the entry's path from the drive's directory
    std::string handedBack = "T:";
    struct stat info {};
};

// The spelling on disk of `name` in `dir`: as given, in small letters, else
// the byte-wise smallest that matches it without regard to case.
int SpellingOf(const fs::path& dir, const std::string& name, std::string& spelling) {
    struct stat info {};
    for (const std::string& candidate : {name, Folded(name)}) {
        if (::lstat((dir / candidate).c_str(), &info) == 0) {
            spelling = candidate;
            return 0;
        }
        if (errno != ENOENT) {
            return errno;
        }
    }
    std::error_code failed;
    spelling.clear();
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, failed)) {
        const std::string found = entry.path().filename();
        if (Folded(found) == Folded(name) && (spelling.empty() || found < spelling)) {
            spelling = found;
        }
    }
    return failed ? failed.value() : spelling.empty() ? ENOENT : 0;
}

Truth Resolve(const Arena& arena, const std::vector<std::string>& own, bool followLeaf) {
    Truth truth;
    // The last `ownLeft` parts are the name's own; a link's target goes before them.
    std::deque<std::string> parts(own.begin(), own.end());
    size_t ownLeft = own.size();
    const auto fail = [&](int error) {
        truth.error = error;
        truth.leafMissing = error == ENOENT && parts.empty();
        return truth;
    };
    for (int links = 0; !parts.empty();) {
        const std::string part = parts.front();
        const bool isOwn = parts.size() == ownLeft;
        ownLeft -= isOwn ? 1 : 0;
        parts.pop_front();
        if (part == ".." && truth.at.empty()) {
            return fail(EACCES);  // above the drive
        }
        if (part == "..") {
            truth.at = Parent(truth.at);
            continue;
        }
        std::string spelling;  // of `part` in truth.at
        if (const int error = SpellingOf(arena.On(truth.at), part, spelling)) {
            return fail(error);
        }
        truth.handedBack += isOwn ? "\\" + spelling : "";
        const std::string path = Join(truth.at, spelling);
        struct stat info {};
        if (::lstat((arena.drive / path).c_str(), &info) != 0) {
            return fail(errno);
        }
        if (S_ISLNK(info.st_mode) && (followLeaf || !parts.empty())) {
            std::error_code failed;
            fs::path target = fs::read_symlink(arena.drive / path, failed);
            if (++links > 40 || failed) {
                return fail(ELOOP);
            }
            if (target.is_absolute()) {  // from the drive's directory, or climbing above it
                target = target.lexically_relative(arena.drive);
                truth.at.clear();
            }
            const std::vector<std::string> next = Split(target);
            parts.insert(parts.begin(), next.begin(), next.end());
        } else if (!parts.empty() && !S_ISDIR(info.st_mode)) {
            return fail(ENOTDIR);
        } else {
            truth.at = path;
        }
    }
    truth.handedBack += truth.at.empty() ? "\\" : "";  // the drive itself ends in a backslash
    return ::lstat(arena.On(truth.at).c_str(), &truth.info) == 0 ? truth : fail(errno);
}

// The cause that opening what `truth` found fails with; none where it opens.
int CauseFor(const Truth& truth) {
    return truth.error == ENOENT ? CFileException::fileNotFound
           : truth.error == EACCES || (truth.error == 0 && S_ISDIR(truth.info.st_mode))
               ? CFileException::accessDenied
           : truth.error == 0 ? CFileException::none
                              : CFileException::badPath;
}

bool SameEntry(UINT handle, const struct stat& info) {
    struct stat got {};
    return ::fstat(static_cast<int>(handle), &got) == 0 && got.st_dev == info.st_dev &&
           got.st_ino == info.st_ino;
}

std::ostream& operator<<(std::ostream& out, const Truth& truth) {
    if (truth.error != 0) {
        return out << " (the disk: " << std::strerror(truth.error) << ")";
    }
    return out << " (the disk: " << truth.handedBack << ", inode " << truth.info.st_ino << ")";
}

enum class Condition { plain, fewDescriptors, littleMemory, forkingHost };
const char* const kConditionNames[] = {"plain", "few descriptors", "little memory", "forking host"};

struct Query {
    std::vector<std::string> own;
    std::string text;
};

// The library side of one round in one mode: every entry of the drive asked
// for by another spelling; creates by names in capitals (one through each
// link); a directory made and an entry removed; each answer held against
// the disk.
struct Checker {
    void Run() {
        std::vector<std::string> dirs = {""}, entries, links;
        for (const auto& [path, info] : ListTree(arena.drive)) {
            auto& kind = S_ISDIR(info.st_mode) ? dirs : S_ISLNK(info.st_mode) ? links : entries;
            kind.push_back(path);
        }
        for (const std::string& link : links) {
            queries.push_back(Spell(link + "/inner.txt", false));  // a link to a directory
            entries.push_back(link);
        }
        for (const std::string& dir : dirs) {
            entries.push_back(Join(dir, kPool[rng() % std::size(kPool)]));  // there or not
            entries.push_back(dir);
        }
        for (const std::string& entry : entries) {
            queries.push_back(Spell(entry, false));
        }
        if (condition == Condition::forkingHost) {
            return ForkWhileResolving();
        }
        for (const Query& query : queries) {
            Probe(query);
        }
        links.push_back(entries[rng() % entries.size()]);
        for (const std::string& entry : links) {
            Create(Spell(entry, true));  // none may write outside the drive
        }
        MakeDirectory(Spell(Join(dirs[rng() % dirs.size()], kPool[rng() % 8]), true));
        Remove(Spell(entries[rng() % entries.size()], false));
    }

    Query Spell(const std::string& path, bool capitals) {
        Query query{Split(path), "T:"};
        for (std::string& component : query.own) {
            component = capitals ? Upper(component) : AnyCase(rng, component);
            query.text += "\\" + component;
        }
        return query;
    }
    // `call` with only a few descriptors left, or memory for a few
    // allocations, as the condition says.
    template <typename Call>
    auto Squeezing(Call call) {
        rlimit before{};
        ::getrlimit(RLIMIT_NOFILE, &before);
        const int lowest = ::open("/", O_PATH | O_CLOEXEC);
        ::close(lowest);
        const bool few = condition == Condition::fewDescriptors;
        const rlimit tight{
            few ? static_cast<rlim_t>(lowest) + kSanitizerDescriptors + rng() % 4 : before.rlim_cur,
            before.rlim_max};
        ::setrlimit(RLIMIT_NOFILE, &tight);
        orvik::test::g_allocationsLeft =
            condition == Condition::littleMemory ? static_cast<long>(rng() % 16) : -1;
        const auto result = call();
        orvik::test::g_allocationsLeft = -1;
        ::setrlimit(RLIMIT_NOFILE, &before);
        return result;
    }
    // A problem unless `ok`, told by the pieces.
    template <typename... Pieces>
    void Expect(bool ok, const Query& query, const Pieces&... pieces) {
        if (!ok) {
            std::ostringstream what;
            ((what << mode << ": " << query.text << ": ") << ... << pieces);
            problems.push_back(what.str());
        }
    }

    // Existence, status and the entry opened are what the disk holds now,
    // and each name handed back reaches that entry again.
    void Probe(const Query& query) {
        const Truth truth = Resolve(arena, query.own, true);
        const bool there = truth.error == 0;
        CFileStatus status{};
        CFile file;
        CFileException error;
        const auto [exists, statusFound, opened] = Squeezing([&] {
            return std::tuple{FILE_FileExists(query.text.c_str()),
                              CFile::GetStatus(query.text.c_str(), status),
                              file.Open(query.text.c_str(), kRead, &error)};
        });
        const std::string full = status.m_szFullName;
        Expect(there ? exists != 0 : exists == 0 || squeezed, query, "FILE_FileExists", truth);
        Expect(statusFound ? (full.empty() ? squeezed : there && full == truth.handedBack) : !there,
               query, "GetStatus gave ", statusFound, " ", full, truth);
        Expect(opened ? CauseFor(truth) == CFileException::none &&
                            SameEntry(file.m_hFile, truth.info) &&
                            file.GetFilePath() == truth.handedBack.c_str()
                      : error.m_cause == CauseFor(truth) ||
                            (squeezed && (error.m_cause == CFileException::tooManyOpenFiles ||
                                          error.m_cause == CFileException::generic)),
               query, "Open gave ", file.GetFilePath(), ", cause ", error.m_cause, truth);
        if (opened) {
            ReachesAgain(file.GetFilePath(), truth, query);
        }
        if (there && !full.empty()) {
            ReachesAgain(full.c_str(), truth, query);
        }
    }

    // A file by CFile::Open, a directory as the current directory.
    void ReachesAgain(const char* name, const Truth& truth, const Query& query) {
        CFile again;
        struct stat now {};
        const bool dir = S_ISDIR(truth.info.st_mode);
        const int here = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
        const bool entered = dir && FILE_Move2Dir(name) == 0 && ::stat(".", &now) == 0;
        const bool reached = !dir ? again.Open(name, kRead) && SameEntry(again.m_hFile, truth.info)
                             : ::eaccess(arena.On(truth.at).c_str(), X_OK) == 0
                                 ? entered && now.st_ino == truth.info.st_ino
                                 : !entered;
        ::fchdir(here);
        ::close(here);
        Expect(reached, query, name, ", the name handed back, misses it");
    }

    // The entry of another spelling is opened, else the name made as given.
    void Create(const Query& query) {
        const Truth before = Resolve(arena, query.own, true);
        CFile file;
        const char* failure = Squeezing([&] {
            return FILE_Open(&file, query.text.c_str(), 2, static_cast<int32_t>(rng() % 2));
        });
        const Truth after = Resolve(arena, query.own, true);
        CFileException refusal(before.leafMissing ? CFileException::none : CauseFor(before));
        Expect(failure == nullptr
                   ? after.error == 0 && SameEntry(file.m_hFile, after.info) &&
                         file.GetFilePath() == after.handedBack.c_str() &&
                         (before.error == 0 ? SameEntry(file.m_hFile, before.info)
                                            : before.leafMissing)
                   : (squeezed || failure == std::string(FILE_ExceptionMsg(&refusal))) &&
                         after.error == before.error && after.info.st_ino == before.info.st_ino,
               query, "FILE_Open(write) gave ", failure ? failure : "", file.GetFilePath(), before);
        FILE_Close(&file);
    }

    void MakeDirectory(const Query& query) {
        const Truth before = Resolve(arena, query.own, false);
        const int32_t made = Squeezing([&] { return FILE_MkDir(query.text.c_str()); });
        const Truth after = Resolve(arena, query.own, false);
        const int32_t expected = before.error == 0 || before.error == EACCES ? -3
                                 : before.leafMissing                        ? 0
                                 : before.error == ENOENT                    ? -4
                                                                             : -5;
        Expect(
            made == 0
                ? expected == 0 && S_ISDIR(after.info.st_mode) && Leaf(after.at) == query.own.back()
                : (made == expected || (squeezed && made == -5)) && after.error == before.error,
            query, "FILE_MkDir gave ", made, before);
    }

    // Exactly the entry the name reaches goes, a link itself and not its target.
    void Remove(const Query& query) {
        const Truth before = Resolve(arena, query.own, false);
        Tree gone = ListTree(arena.drive);
        const char* failure = Squeezing([&] { return FILE_Remove4Name(query.text.c_str()); });
        for (const auto& [path, info] : ListTree(arena.drive)) {
            gone.erase(path);
        }
        const bool removable = before.error == 0 && !S_ISDIR(before.info.st_mode) &&
                               ::eaccess(arena.On(Parent(before.at)).c_str(), W_OK | X_OK) == 0;
        struct stat info {};
        const bool leafGone = ::lstat(arena.On(before.at).c_str(), &info) != 0;
        // Where it succeeds, nothing but that entry went.
        Expect(failure == nullptr ? removable && leafGone && gone.size() <= gone.count(before.at)
                                  : (!removable || squeezed) && gone.empty(),
               query, "FILE_Remove4Name removed ", gone.size(), " entries", before);
    }

    // Two threads resolve names while this one forks now and then: each
    // child resolves a name and ends, and nothing hangs.
    void ForkWhileResolving() {
        std::vector<std::string> handedBack;  // for each query; "" where none is found
        for (const Query& query : queries) {
            const Truth truth = Resolve(arena, query.own, true);
            handedBack.push_back(truth.error == 0 ? truth.handedBack : "");
        }
        const auto rightAbout = [&](size_t i) {
            CFileStatus status{};
            const std::string& expected = handedBack[i % queries.size()];
            return CFile::GetStatus(queries[i % queries.size()].text.c_str(), status)
                       ? expected == status.m_szFullName
                       : expected.empty();
        };
        std::atomic<bool> stop{false};
        std::atomic<int> wrong{0};
        std::vector<std::thread> threads;
        for (size_t t = 0; t < kThreadsAtFork; ++t) {
            threads.emplace_back([&, t] {
                for (size_t i = t; !stop; ++i) {
                    wrong += rightAbout(i) ? 0 : 1;
                }
            });
        }
        for (size_t i = 0; i < queries.size(); i += 8) {
            const int status = InChild([&] { return rightAbout(i) ? 0 : 1; }, 20);
            Expect(status == 0, queries[i], "a child forked while threads resolved names ",
                   status < 0 ? "hung" : "was wrong");
            if (status < 0) {
                break;  // the next would hang as well
            }
        }
        stop = true;
        for (std::thread& thread : threads) {
            thread.join();
        }
        Expect(wrong == 0, queries.front(), wrong, " wrong answers in threads");
    }

    const Arena& arena;
    Rng rng;
    Condition condition;
    std::string mode;
    std::vector<std::string>& problems;
    std::vector<Query> queries{};
    const bool squeezed =
        condition == Condition::fewDescriptors || condition == Condition::littleMemory;
};

// The neighbour: one change a round, to entries it picks from the drive as it
// finds it then. A change that fails (a rename onto a directory, ...) changes
// nothing, which is a change too.
// The moves, each as often as its letter: x exchange in one directory,
// X exchange anywhere, r rename, R rename over an entry, c change case,
// f replace a file, d replace a directory, m remove, n create, h hard link,
// l plant a symbolic link; u take away reading, where the host gives up root.
const std::string kMoves = "xxxXXXrrRRcccffddmnnhhlllll";
const std::string kMovesTakingAwayReading = kMoves + "uuuuuuuu";

struct Neighbour {
    ~Neighbour() { RestoreReading(); }

    std::string Make(const std::string& mix, uint32_t now) {
        RestoreReading();
        std::error_code ignored;
        fs::remove_all(away, ignored);
        tree = ListTree(arena.drive);
        round = now;
        char move = mix[rng() % mix.size()];
        move = tree.size() > 40 ? 'm' : tree.size() < 8 ? 'n' : move;
        return std::string(1, move) + ": " + Do(move);
    }

    std::string Do(char move) {
        const std::string any = Any(), leaf = Leaf(any);
        switch (move) {
            case 'x':
            case 'X': {
                std::string other = Any();
                for (int tries = 0;
                     (other == any || (move == 'x' && Parent(other) != Parent(any))) && tries < 20;
                     ++tries) {
                    other = Any();
                }
                return Renamed(any, other, RENAME_EXCHANGE);
            }
            case 'r':
                return Renamed(any, NewName(), RENAME_NOREPLACE);
            case 'R':
                return Renamed(any, Any(), 0);
            case 'c':
                return Renamed(
                    any, Join(Parent(any), Upper(leaf) == leaf ? Folded(leaf) : Upper(leaf)), 0);
            case 'f': {
                const std::string file = Any(S_IFREG), fresh = arena.attic / "fresh";
                Write(fresh);
                return Did(file, ::rename(fresh.c_str(), Path(file).c_str()));
            }
            case 'd': {
                const std::string dir = Any(S_IFDIR);
                const std::string file = Join(dir, AnyCase(rng, kPool[rng() % 6]));
                const bool replaced = ::rename(Path(dir).c_str(), away.c_str()) == 0 &&
                                      ::mkdir(Path(dir).c_str(), 0755) == 0 &&
                                      Write(Path(file)) == 0;
                return Did(dir + " (now holding " + file + ")", replaced ? 0 : -1);
            }
            case 'm':
                return Did(any, S_ISDIR(tree[any].st_mode)
                                    ? ::rename(Path(any).c_str(), away.c_str())
                                    : ::unlink(Path(any).c_str()));
            case 'n': {
                const std::string entry = NewName();
                return rng() % 4 == 0
                           ? Did(entry + " (a directory)", ::mkdir(Path(entry).c_str(), 0755))
                           : Did(entry, Write(Path(entry)));
            }
            case 'h': {
                const std::string file = Any(S_IFREG), link = NewName();
                return Did(file + " as " + link, ::link(Path(file).c_str(), Path(link).c_str()));
            }
            case 'l':
                return PlantLink(any);
        }
        // 'u': for a round, a directory may be searched (0300, 0100) or not
        // even that (0000), but not listed.
        const std::string dir = S_ISDIR(tree[any].st_mode) ? any : Parent(any);
        const mode_t mode = std::vector<mode_t>{0300, 0100, 0000}[rng() % 3];
        unreadable.push_back(Join(arena.drive, dir));
        return Did((dir.empty() ? "the drive" : dir) + " to " + std::to_string(mode),
                   ::chmod(unreadable.back().c_str(), mode));
    }

    // Links that stay inside, lead out, climb out and back, chain, or loop.
    std::string PlantLink(const std::string& entry) {
        const std::string link = NewName(), drive = arena.drive, outside = arena.outside;
        std::string up;
        for (size_t depth = Split(Parent(link)).size(); depth > 0; --depth) {
            up += "../";
        }
        const std::string targets[] = {
            up + entry,
            Upper(up + entry),
            Leaf(Any()),  // a sibling or itself: a chain, a loop
            drive + "/" + entry,
            up + "../outside/secret.txt",
            up + "../outside/Vault",
            up + "../drive/" + entry,
            outside + "/secret.txt",
            outside + "/Vault",
            drive + "/../outside/secret.txt",
            up + "A/../" + entry,
            "/",
        };
        const std::string& target = targets[rng() % std::size(targets)];
        ::unlink(Path(link).c_str());
        return Did(link + " -> " + target, ::symlink(target.c_str(), Path(link).c_str()));
    }

    void RestoreReading() {
        for (const std::string& dir : unreadable) {
            ::chmod(dir.c_str(), 0755);
        }
        unreadable.clear();
    }
    // No entry ("") names nothing: the drive's directory itself stays.
    fs::path Path(const std::string& entry) const {
        return arena.drive / (entry.empty() ? "(none)" : entry);
    }
    // An entry of the drive (of that type, when one is asked for), or "".
    std::string Any(mode_t type = 0) {
        std::vector<std::string> fitting;
        for (const auto& [path, info] : tree) {
            if ((type == 0 || (info.st_mode & S_IFMT) == type) && Split(path).size() <= 3) {
                fitting.push_back(path);
            }
        }
        return fitting.empty() ? std::string() : fitting[rng() % fitting.size()];
    }
    // A name from the pool in any case, in any directory of the drive.
    std::string NewName() {
        return Join(rng() % 3 == 0 ? "" : Any(S_IFDIR),
                    AnyCase(rng, kPool[rng() % std::size(kPool)]));
    }
    std::string Renamed(const std::string& from, const std::string& to, unsigned flags) {
        return Did(from + (flags == RENAME_EXCHANGE ? " <-> " : " -> ") + to,
                   ::renameat2(AT_FDCWD, Path(from).c_str(), AT_FDCWD, Path(to).c_str(), flags));
    }
    // Never through a link: one may lead out of the drive.
    int Write(const fs::path& path) const {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0644);
        const bool written = ::dprintf(fd, "round %u", round) > 0;
        ::close(fd);
        return written ? 0 : -1;
    }
    static std::string Did(const std::string& what, int result) {
        return result == 0 ? what : what + " (" + std::strerror(errno) + ")";
    }

    const Arena& arena;
    Rng rng;
    const fs::path away = arena.attic / "away";  // what the round moved out of the drive
    Tree tree{};
    uint32_t round = 0;
    std::vector<std::string> unreadable{};
};

// Runs the rounds, the neighbour drawing its moves from `mix`, in lock-step
// with the library side in both modes, and after each what no round may
// leave: a second spelling of a name, a change outside the drive. Reports
// each problem on the standard error; gives their number.
int RunRounds(const Arena& arena, const std::string& mix, const std::vector<Condition>& conditions,
              uint32_t defaultRounds) {
    const char* seedText = std::getenv("ORVIK_HOSTILE_SEED");
    const char* roundsText = std::getenv("ORVIK_HOSTILE_ROUNDS");
    const auto seed = static_cast<uint32_t>(seedText ? std::stoul(seedText) : 1);
    const auto rounds = static_cast<uint32_t>(roundsText ? std::stoul(roundsText) : defaultRounds);
    size_t found = 0;
    Neighbour neighbour{arena, Rng(seed)};
    for (uint32_t round = 0; round < rounds; ++round) {
        const std::string move = neighbour.Make(mix, round);
        std::seed_seq seeds{seed, round};
        Rng rng(seeds);
        const Condition condition = conditions[rng() % conditions.size()];
        std::vector<std::string> problems;
        const Tree before = ListTree(arena.drive);
        for (const bool walkOnly : {false, true}) {
            orvik::afx::SystemCallsInUse().openat2 =
                walkOnly ? NoOpenat2 : orvik::afx::RealSystemCalls().openat2;
            Checker{arena, Rng(rng()), condition, walkOnly ? "walk" : "kernel", problems}.Run();
        }
        orvik::afx::SystemCallsInUse().openat2 = orvik::afx::RealSystemCalls().openat2;
        const Tree after = ListTree(arena.drive);
        for (const auto& [path, info] : after) {
            for (const auto& [other, otherInfo] : after) {
                if (before.count(path) == 0 && other != path && Parent(other) == Parent(path) &&
                    Folded(other) == Folded(path)) {
                    problems.push_back("made " + path + " beside " + other);
                }
            }
        }
        if (Sketch(arena.outside) != arena.sentinel) {
            problems.push_back("outside the drive, " + arena.sentinel + " became " +
                               Sketch(arena.outside));
        }
        for (const std::string& problem : problems) {
            std::fprintf(stderr, "round %u after '%s', %s, %s (ORVIK_HOSTILE_SEED=%u replays it)\n",
                         round, move.c_str(), kConditionNames[static_cast<int>(condition)],
                         problem.c_str(), seed);
        }
        found += problems.size();
    }
    return static_cast<int>(found);
}

// The neighbour moves, replaces, links and renames entries; the library side
// is sometimes short of descriptors or memory, or forks while threads
// resolve names.
TEST(HostileNeighbour, EveryAnswerIsTheDisksWhateverTheNeighbourDoes) {
    const std::vector<Condition> conditions = {Condition::plain,        Condition::plain,
                                               Condition::plain,        Condition::fewDescriptors,
                                               Condition::littleMemory, Condition::forkingHost};
    const Arena arena;
    ASSERT_TRUE(arena.mapped);
    EXPECT_EQ(RunRounds(arena, kMoves, conditions, 40), 0) << "problems, each above";
}

// The neighbour also takes away the right to list a directory for a round,
// and the library side runs without root, so that the rights bind it.
TEST(HostileNeighbour, UnreadableDirectoriesAreNeverGuessedIn) {
    const Arena arena;
    ASSERT_TRUE(arena.mapped);
    // A root whose own top directory only root may enter (a chroot made by
    // mktemp) leaves the arena out of that user's reach.
    const auto reaches = [&] {
        return BecomeNobody() && ::access(arena.drive.c_str(), R_OK | W_OK | X_OK) == 0 ? 0 : 1;
    };
    if (::geteuid() == 0 && InChild(reaches, 60) != 0) {
        GTEST_SKIP() << "user " << kNobody << " cannot reach " << arena.drive << " here";
    }
    const int status = InChild(
        [&] {
            return ::geteuid() == 0 && !BecomeNobody()
                       ? 100
                       : std::min(RunRounds(arena, kMovesTakingAwayReading, {Condition::plain}, 30),
                                  99);
        },
        600);
    EXPECT_EQ(status, 0) << "problems, each above";
}

}  // namespace
