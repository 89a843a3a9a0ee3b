// Every system call of representative file operations, by file object and
// by name, made to fail in turn through the platform file's table of system
// calls: interrupted, failing with EIO, ENOSPC, EAGAIN or EINVAL, or
// transferring fewer bytes than asked, once or from then on; and every
// allocation of the library's calls made to fail in turn, once or from then
// on. Each run must either come out exactly as a run without faults, or stop
// at one step with a failure of that step's own kind; every file and
// directory, inside drive T: and beside it, then stands as the steps before
// left it, or (but when memory ran out) as the failed step would have left
// it, byte by byte, and nothing else is made.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <new>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "afx_test.h"
#include "record_bytes.h"
#include "temp_dir.h"

long orvik::test::g_allocationsLeft = -1;

namespace {

using orvik::afx::RealSystemCalls;
using orvik::afx::SystemCalls;
using orvik::afx::SystemCallsInUse;
namespace fs = std::filesystem;

enum class Fault { interrupted, ioError, diskFull, wouldBlock, invalid, shortCount, noMemory };
constexpr int kErrno[] = {EINTR, EIO, ENOSPC, EAGAIN, EINVAL};

struct Injection {
    long at = -1;  // the number of the first call (or allocation) hit; -1 for none
    Fault fault = Fault::ioError;
    bool fromThenOn = false;
};

Injection g_injection;
long g_calls = 0, g_allocations = 0;
std::vector<const char*> g_callNames;  // of the calls of the run, in order
bool g_inLibrary = false;              // allocations count while a library call runs

bool Hits(long n, bool allocation) {
    return g_injection.at >= 0 && (g_injection.fault == Fault::noMemory) == allocation &&
           (n == g_injection.at || (g_injection.fromThenOn && n > g_injection.at));
}

// Counts a call, and tells whether the injection hits it. A short count
// limits `count` of a transfer (one byte cannot be shorter) and lets the
// call go on; any other fault sets errno and makes it fail.
bool Fails(const char* call, size_t* count = nullptr) {
    const bool inLibrary = std::exchange(g_inLibrary, false);  // counting allocates
    g_callNames.push_back(call);
    g_inLibrary = inLibrary;
    if (!Hits(g_calls++, false)) {
        return false;
    }
    if (g_injection.fault == Fault::shortCount) {
        if (count != nullptr && *count > 1) {
            *count /= 2;
        }
        return false;
    }
    errno = kErrno[static_cast<int>(g_injection.fault)];
    return true;
}

// Marks the library call of the full expression it begins: (InLibrary(), call).
struct InLibrary {
    InLibrary() { g_inLibrary = true; }
    ~InLibrary() { g_inLibrary = false; }
};

// When a budget is set, every allocation past it fails until it is lifted.
bool OverBudget() {
    long& left = orvik::test::g_allocationsLeft;
    return left == 0 || (left > 0 && --left < 0);
}

// A block of `size` bytes, or (when the injection or the budget says so, or
// memory ran out) null or std::bad_alloc.
void* Allocate(std::size_t size, bool orThrow) {
    const bool fails = (g_inLibrary && Hits(g_allocations++, true)) || OverBudget();
    void* block = fails ? nullptr : std::malloc(size != 0 ? size : 1);
    return block != nullptr || !orThrow ? block : throw std::bad_alloc();
}

}  // namespace

// Every form that the library or a sanitizer's runtime would otherwise serve,
// single and array: the nothrow forms return null where the others throw.
#define ORVIK_REPLACED(brackets)                                                    \
    void* operator new brackets(std::size_t size) {                                 \
        return Allocate(size, true);                                                \
    }                                                                               \
    void* operator new brackets(std::size_t size, const std::nothrow_t&) noexcept { \
        return Allocate(size, false);                                               \
    }                                                                               \
    void operator delete brackets(void* block) noexcept {                           \
        std::free(block);                                                           \
    }                                                                               \
    void operator delete brackets(void* block, std::size_t) noexcept {              \
        std::free(block);                                                           \
    }                                                                               \
    void operator delete brackets(void* block, const std::nothrow_t&) noexcept {    \
        std::free(block);                                                           \
    }
ORVIK_REPLACED()
ORVIK_REPLACED([])
#undef ORVIK_REPLACED

namespace {
// A call of the table that fails as the injection says, else the real one.
#define ORVIK_INJECTED(call)                                                             \
    [](auto... args) {                                                                   \
        using Result = decltype(RealSystemCalls().call(args...));                        \
        return Fails(#call) ? static_cast<Result>(-1) : RealSystemCalls().call(args...); \
    }
// A transfer of `count` bytes, which a short count cuts and lets go on.
#define ORVIK_INJECTED_TRANSFER(call)                                                 \
    [](int fd, auto* buffer, size_t count) -> ssize_t {                               \
        return Fails(#call, &count) ? -1 : RealSystemCalls().call(fd, buffer, count); \
    }

// Every call of the table, each counted and hit as the injection says.
const SystemCalls kInjecting = {
    [](int fd) {  // the descriptor is gone whatever close(2) reports
        const int result = RealSystemCalls().close(fd);
        return Fails("close") ? -1 : result;
    },
    ORVIK_INJECTED(fstat),
    ORVIK_INJECTED(fcntl),
    ORVIK_INJECTED(flock),
    ORVIK_INJECTED_TRANSFER(read),
    ORVIK_INJECTED_TRANSFER(write),
    ORVIK_INJECTED(lseek),
    ORVIK_INJECTED(ftruncate),
    ORVIK_INJECTED(poll),
    ORVIK_INJECTED(openat),
    ORVIK_INJECTED(openat2),
    ORVIK_INJECTED(fstatat),
    [](int dir, const char* name, char* buffer, size_t size) -> ssize_t {
        return Fails("readlinkat", &size) ? -1
                                          : RealSystemCalls().readlinkat(dir, name, buffer, size);
    },
    ORVIK_INJECTED(mkdirat),
    ORVIK_INJECTED(unlinkat),
    ORVIK_INJECTED(fchdir),
    [](char* buffer, size_t size) -> char* {
        return Fails("getcwd") ? nullptr : RealSystemCalls().getcwd(buffer, size);
    },
    ORVIK_INJECTED_TRANSFER(getdents64),
    ORVIK_INJECTED(fstatfs),
    ORVIK_INJECTED(inotify_init1),
    ORVIK_INJECTED(inotify_add_watch),
    ORVIK_INJECTED(inotify_rm_watch),
};
#undef ORVIK_INJECTED
#undef ORVIK_INJECTED_TRANSFER

// One step of a run: its answer, and whether an answer other than the one
// of the run without a fault is a failure of the step's own kind.
struct Answer {
    std::string text;
    bool failureOfItsKind = false;
};
using Step = std::function<Answer(CFile&)>;

// A call of the library on the run's file object: its output, or its
// failure, which is of its kind when it reports `failureCode`.
Step Reported(int failureCode, std::function<char*(CFile&, std::string&)> call) {
    return [=](CFile& file) {
        std::string output;
        const bool failed = call(file, output) != nullptr;
        const int32_t code = GEN_GetRetCode();
        return failed ? Answer{"failed " + std::to_string(code), code == failureCode}
                      : Answer{output};
    };
}

// Each entry's name with its content, "<dir>" or the target of a link.
using Tree = std::map<std::string, std::string>;

// What is wrong with `got` for a tree that must stand as `before` or as
// `after`, entry by entry and byte by byte: a failed step may have done
// part of its work, but never put a byte where no run without a fault does.
std::string Between(const Tree& got, const Tree& before, const Tree& after) {
    const std::string none;  // the content of an entry a tree does not hold
    for (const Tree* listing : {&got, &before, &after}) {
        for (const auto& entry : *listing) {
            const std::string& name = entry.first;
            const size_t holders = before.count(name) + after.count(name);  // of the two
            if (got.count(name) == 0 ? holders == 2 : holders == 0) {
                return name + (holders == 2 ? " is gone" : " was made");
            }
            const auto of = [&name, &none](const Tree& tree) -> const std::string& {
                return tree.count(name) != 0 ? tree.at(name) : none;
            };
            const std::string &is = of(got), &was = of(before), &will = of(after);
            if (is.size() < std::min(was.size(), will.size())) {
                return name + " is " + std::to_string(is.size()) + " bytes long";
            }
            const bool whole = is == was || is == will;         // the usual case, told quickly
            for (size_t i = 0; !whole && i < is.size(); ++i) {  // past both ends is misplaced too
                if ((i >= was.size() || is[i] != was[i]) &&
                    (i >= will.size() || is[i] != will[i])) {
                    return name + ": byte " + std::to_string(i) + " is misplaced";
                }
            }
        }
    }
    return "";
}

struct Scenario {
    const char* what;
    Tree tree;  // of files and links, as TreeOf gives it; drive T: is "drive"
    std::vector<Step> steps;
    bool walkAlone = false;  // names resolved as without openat2
};

struct Result {
    std::vector<std::string> answers;  // of every step that ran
    bool acceptable = true;            // the last answer, when it differs, is a failure of its kind
    Tree tree;
};

// What is wrong with `got` against the run without a fault, `clean`, given
// the trees after each number of steps of that run; empty when nothing is.
std::string Judge(const Result& got, const Result& clean, Fault fault,
                  const std::vector<Tree>& cleanTrees) {
    const size_t step = got.answers.size() - 1;
    const bool same = got.answers == clean.answers;
    const std::string answered =
        "step " + std::to_string(step) + " answered '" + got.answers[step] + "'";
    if (!same && (fault == Fault::interrupted || fault == Fault::shortCount || !got.acceptable)) {
        return answered;
    }
    // With the same answers, the tree of the run without a fault; out of
    // memory, a failed step does nothing in part.
    const Tree& after = cleanTrees[!same && fault == Fault::noMemory ? step : step + 1];
    const std::string wrong = Between(got.tree, same ? after : cleanTrees[step], after);
    return wrong.empty() ? "" : answered + ": " + wrong;
}

class FaultSweep : public ::testing::Test {
protected:
    void TearDown() override {
        SystemCallsInUse() = RealSystemCalls();
        AfxMapDrive('T', nullptr);
        AfxMapDrive('Q', nullptr);
    }

    // The tree under the run's directory.
    Tree TreeOf() const {
        Tree tree;
        for (const auto& entry : fs::recursive_directory_iterator(top)) {
            const std::string name = entry.path().lexically_relative(top).string();
            tree[name] = entry.is_symlink()     ? "-> " + fs::read_symlink(entry.path()).string()
                         : entry.is_directory() ? "<dir>"
                                                : dir.Read("run/" + name);
        }
        return tree;
    }

    // Runs the first `steps` steps of `scenario` in a fresh directory, and
    // stops after the first answer that differs from `clean`'s, if given.
    Result RunOnce(const Scenario& scenario, Injection injection, size_t steps = SIZE_MAX,
                   const Result* clean = nullptr) {
        fs::create_directories(top);  // made afresh: a directory of its own each time
        for (const auto& [name, content] : scenario.tree) {
            fs::create_directories((top / name).parent_path());
            if (content.rfind("-> ", 0) == 0) {
                fs::create_symlink(content.substr(3), top / name);
            } else {
                dir.Write("run/" + name, content);
            }
        }
        const fs::path home = fs::current_path();
        fs::current_path(top);
        AfxMapDrive('T', (top / "drive").c_str());
        // The changes of the runs before are taken in first, so that every run
        // makes the same calls in the same order.
        fs::create_directories(dir.path() / "drain");
        FILE_FileExists((dir.path() / "drain" / "NONE").c_str());
        SystemCallsInUse() = kInjecting;
        SystemCallsInUse().openat2 =
            scenario.walkAlone ? orvik::test::NoOpenat2 : kInjecting.openat2;
        Result run;
        g_injection = injection;
        g_calls = g_allocations = 0;
        g_callNames.clear();
        {
            CFile object;
            for (size_t i = 0; i < std::min(steps, scenario.steps.size()); ++i) {
                Answer answer{"let an exception out"};
                try {
                    answer = scenario.steps[i](object);
                } catch (...) {
                }
                run.answers.push_back(answer.text);
                if (clean != nullptr && answer.text != clean->answers[i]) {
                    run.acceptable = answer.failureOfItsKind;
                    break;
                }
            }
        }
        g_injection = Injection{};
        SystemCallsInUse() = RealSystemCalls();
        fs::current_path(home);
        run.tree = TreeOf();
        fs::remove_all(top);
        return run;
    }

    void Sweep(const Scenario& scenario) {
        const Result clean = RunOnce(scenario, {});
        const long calls = g_calls, allocations = g_allocations;
        const std::vector<const char*> names = g_callNames;
        std::vector<Tree> cleanTrees;  // after no step, one, two...
        for (size_t steps = 0; steps <= scenario.steps.size(); ++steps) {
            cleanTrees.push_back(RunOnce(scenario, {}, steps).tree);
        }
        const std::pair<Fault, bool> modes[] = {
            // the fault, and whether from then on
            {Fault::interrupted, false}, {Fault::ioError, false},    {Fault::ioError, true},
            {Fault::diskFull, false},    {Fault::wouldBlock, false}, {Fault::wouldBlock, true},
            {Fault::invalid, false},     {Fault::shortCount, false}, {Fault::shortCount, true},
            {Fault::noMemory, false},    {Fault::noMemory, true},
        };
        int failures = 0;
        for (const auto& [fault, fromThenOn] : modes) {
            const bool memory = fault == Fault::noMemory;
            for (long at = 0; at < (memory ? allocations : calls); ++at) {
                const Result got = RunOnce(scenario, {at, fault, fromThenOn}, SIZE_MAX, &clean);
                const std::string wrong = Judge(got, clean, fault, cleanTrees);
                if (!wrong.empty() && ++failures <= 10) {
                    ADD_FAILURE() << scenario.what << ", "
                                  << (memory ? "allocation" : names[static_cast<size_t>(at)]) << " "
                                  << at << ", fault " << static_cast<int>(fault)
                                  << (fromThenOn ? " from then on" : " once") << ": " << wrong;
                }
            }
        }
        EXPECT_EQ(failures, 0) << scenario.what << ": " << calls << " calls, " << allocations
                               << " allocations swept";
    }

    orvik::test::TempDir dir;
    const fs::path top = dir.path() / "run";
    const std::string file = (top / "file").string();
};

// The library's `call` on the run's file object `f`, without output.
#define ORVIK_STEP(failureCode, call) \
    Reported(failureCode, [=](CFile& f, std::string&) { return (InLibrary(), call); })

Step Opening(const std::string& name, uint32_t mode, int32_t create) {
    return ORVIK_STEP(ORVIK_RC_OPEN_FAILED, FILE_Open(&f, name.c_str(), mode, create));
}

Step LineRead(uint32_t max) {
    return Reported(ORVIK_RC_READ_FAILED, [=](CFile& f, std::string& out) {
        std::string line(max + 1, '\0');
        uint32_t status = 0;
        char* message = (InLibrary(), FILE_ReadStr(&f, line.data(), max, &status));
        out = line.substr(0, status - ORVIK_STATUS_TRANSFERRED);
        return message;
    });
}

const Step kRecordRead = Reported(ORVIK_RC_READ_FAILED, [](CFile& f, std::string& out) {
    char* text = nullptr;
    char* message = (InLibrary(), FILE_ReadCString(&f, &text));
    out = text;
    return message;
});

Step Writing(const std::string& bytes) {
    return ORVIK_STEP(ORVIK_RC_WRITE_FAILED,
                      FILE_Write(&f, bytes.data(), static_cast<uint32_t>(bytes.size())));
}
Step Cutting(uint32_t length) {
    return ORVIK_STEP(ORVIK_RC_SET_LENGTH_FAILED, FILE_SetLength(&f, length));
}
const Step kClosing = Reported(
    ORVIK_RC_CLOSE_FAILED, [](CFile& f, std::string&) { return (InLibrary(), FILE_Close(&f)); });

// The names an open object hands back: shared texts, which need no memory.
const Step kNames = [](CFile& f) {
    char name[MAX_PATH] = {};
    const char* path = (InLibrary(), FILE_GetPath(&f, nullptr, 0));
    const char* named = (InLibrary(), FILE_GetName(&f, name, 99));
    return Answer{std::string(path) + " " + named};
};

TEST_F(FaultSweep, WritingLinesRecordsAndBlocksThenCuttingTheLength) {
    std::string block(5000, '\0');
    std::iota(block.begin(), block.end(), 'a');  // every byte value in turn
    Sweep({"writing",
           {{"file", "an older and longer content that creating empties\n"}},
           {Opening(file, ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY), Writing("first line\r\n"),
            ORVIK_STEP(ORVIK_RC_WRITE_FAILED, FILE_WriteCString(&f, "a record")), Writing(block),
            Cutting(3000), kClosing}});
}

TEST_F(FaultSweep, ReadingLinesRecordsAndALongLine) {
    const std::string content = "one\r\ntwo\n" + orvik::test::Record("rec") +
                                orvik::test::Record(std::string(600, 'r')) +
                                std::string(70000, 'L') + "\nlast";
    // A block past the read-ahead goes straight in; a short read is a
    // success, so the host asks again for the rest.
    const Step block = Reported(ORVIK_RC_READ_FAILED, [](CFile& f, std::string& out) {
        out.assign(66000, '\0');
        for (uint32_t got = 0, status = 0; got < out.size();
             got += status - ORVIK_STATUS_TRANSFERRED) {
            const auto left = static_cast<uint32_t>(out.size()) - got;
            if (char* message = (InLibrary(), FILE_Read(&f, &out[got], left, &status))) {
                return message;
            }
        }
        return static_cast<char*>(nullptr);
    });
    Sweep({"reading",
           {{"file", content}},
           {Opening(file, ORVIK_OPEN_READ, ORVIK_OPEN_KEEP), kNames, LineRead(100), LineRead(100),
            kRecordRead, kRecordRead, LineRead(80000), LineRead(100), kClosing}});
    Sweep({"reading blocks",
           {{"file", content}},
           {Opening(file, ORVIK_OPEN_READ, ORVIK_OPEN_KEEP), LineRead(2), block, LineRead(9),
            kClosing}});
    Sweep({"reading a device, no read-ahead",
           {},
           {Opening("/dev/zero", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP), LineRead(5), LineRead(5),
            kClosing}});
}

TEST_F(FaultSweep, ReadingALineThenWritingInPlaceAndMoving) {
    const Step skip = ORVIK_STEP(ORVIK_RC_SEEK_FAILED, FILE_Seek(&f, 1, 1));
    const Step toEnd = ORVIK_STEP(ORVIK_RC_SEEK_FAILED, FILE_SeekToEnd(&f, nullptr));
    const Step length = Reported(ORVIK_RC_GET_LENGTH_FAILED, [](CFile& f, std::string& out) {
        uint32_t bytes = 0;
        char* message = (InLibrary(), FILE_GetLength(&f, &bytes));
        out = std::to_string(bytes);
        return message;
    });
    Sweep({"writing in place",
           {{"file", "first line\nsecond line\nthird line\nfourth line\n"}},
           {Opening(file, ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_KEEP), LineRead(100), Writing("XX"),
            LineRead(100), skip, Writing("Y"), LineRead(100), Cutting(40), toEnd, length,
            Writing("end"), kClosing}});
    Sweep({"emptying a file opened for reading",
           {{"file", "old"}},
           {Opening(file, ORVIK_OPEN_READ, ORVIK_OPEN_EMPTY), kClosing}});
}

// The same faults at every call of the by-name operations: name resolution
// (the kernel's and the walk's), the folded index, mkdir, remove, links and
// the current directory. A missing name that an existence test could not
// tell from a present one may read as present (it says nothing).
// Opens `name` and gives back the name the object hands back (unless
// `relative`: a name from the current directory may come back in another
// form, or as given, when the directory's name cannot be had) and, opened
// for reading, its first bytes.
Step OpenByName(const std::string& name, uint32_t mode, int32_t create, bool relative = false) {
    return [=](CFile&) {
        CFile file;
        char head[8] = {};
        if ((InLibrary(), FILE_Open(&file, name.c_str(), mode, create)) != nullptr ||
            (mode == 0 && (InLibrary(), FILE_Read(&file, head, sizeof head - 1, nullptr)))) {
            return Answer{"failed " + std::to_string(GEN_GetRetCode()), true};
        }
        const std::string path = relative ? "" : file.GetFilePath().GetString();
        if ((InLibrary(), FILE_Close(&file)) != nullptr) {
            return Answer{"close failed", true};
        }
        return Answer{path + " " + head};
    };
}

// A call of `name` whose number answers; one of `failure` (0: any but 0, -1:
// any below 0) is a failure of its kind.
template <typename Call>
Step Numbered(Call call, const char* name, int32_t failure = 0) {
    return [=](CFile&) {
        const auto result = static_cast<int32_t>((InLibrary(), call(name)));
        return Answer{std::to_string(result), failure == 0    ? result != 0
                                              : failure == -1 ? result < 0
                                                              : result == failure};
    };
}

const Step kModulePath = [](CFile&) {
    char path[MAX_PATH] = {};
    const int32_t result = (InLibrary(), FILE_GetModulePathName(path));
    return Answer{std::to_string(result) + " " + path, result == -2 && path[0] == '\0'};
};

// By the kernel's resolution, then by the walk alone.
TEST_F(FaultSweep, AnyCaseNamesOpenCreateMakeRemoveMoveAndMap) {
    for (const bool walkAlone : {false, true}) {
        Sweep({"any-case names",
               {{"drive/Mixed.Txt", "mixed"},
                {"drive/lower.txt", "lower"},
                {"drive/SubDir/Keep.Txt", "keep"},
                {"drive/in_link", "-> SubDir/Keep.Txt"},
                {"drive/out_link", "-> ../outside"},
                {"outside/secret.txt", "secret"}},
               {OpenByName("T:\\MIXED.TXT", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP),
                Numbered(FILE_FileExists, "T:\\SUBDIR\\KEEP.TXT"),
                OpenByName("T:\\NEW FILE.TXT", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY),
                OpenByName("T:\\MIXED.TXT", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY),
                Numbered(FILE_MkDir, "T:\\SUBDIR", -1), Numbered(FILE_MkDir, "T:\\NEWDIR", -1),
                Numbered([](const char* n) { return FILE_Remove4Name(n) != nullptr; },
                         "T:\\LOWER.TXT"),
                Numbered(FILE_FileExists, "T:\\NONE.TXT"),
                OpenByName("T:\\IN_LINK", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP),
                Numbered(FILE_FileExists, "T:\\OUT_LINK\\SECRET.TXT"),
                Numbered(FILE_Move2Dir, "T:\\SUBDIR", ORVIK_MOVE2DIR_REFUSED),
                OpenByName("KEEP.TXT", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP, true),
                OpenByName("T:\\SubDir\\Made.Txt", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY),
                Numbered([](const char* n) { return !AfxMapDrive('Q', n); }, "T:\\SUBDIR"),
                OpenByName("Q:\\Keep.Txt", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP), kModulePath},
               walkAlone});
    }
}

}  // namespace
