// Every system call of representative file operations, made to fail in
// turn through the platform file's table of system calls: interrupted,
// failing with EIO, ENOSPC or EAGAIN, or transferring fewer bytes than
// asked, once or from then on. Each run must either come out exactly as a
// run without faults, or stop at one call that reports its own failure code;
// and the file must then hold every byte that the calls reporting success
// wrote, in its place, and nothing anywhere else.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "afx/system_calls.h"
#include "temp_dir.h"

namespace {

using orvik::afx::RealSystemCalls;
using orvik::afx::SystemCalls;
using orvik::afx::SystemCallsInUse;
namespace fs = std::filesystem;

enum class Fault { interrupted, ioError, diskFull, wouldBlock, invalid, shortCount };

struct Injection {
    long at = -1;  // the number of the first call hit; -1 for none
    Fault fault = Fault::ioError;
    bool fromThenOn = false;
};

Injection g_injection;
long g_calls = 0;
std::vector<const char*> g_callNames;  // of the calls of the run, in order

// Counts a call, and tells whether the injection hits it. A short count
// limits `count` (a transfer of one byte cannot be shorter) and lets the
// call go on; any other fault sets errno and makes it fail.
bool Fails(const char* call, size_t& count) {
    const long n = g_calls++;
    g_callNames.push_back(call);
    const bool hit = g_injection.at >= 0 &&
                     (n == g_injection.at || (g_injection.fromThenOn && n > g_injection.at));
    if (!hit) {
        return false;
    }
    switch (g_injection.fault) {
        case Fault::shortCount:
            count = count > 1 ? count / 2 : count;
            return false;
        case Fault::interrupted:
            errno = EINTR;
            return true;
        case Fault::ioError:
            errno = EIO;
            return true;
        case Fault::diskFull:
            errno = ENOSPC;
            return true;
        case Fault::wouldBlock:
            errno = EAGAIN;
            return true;
        case Fault::invalid:
            errno = EINVAL;
            return true;
    }
    return false;
}

bool Fails(const char* call) {
    size_t unsized = 0;
    return Fails(call, unsized);
}

// Every call of the table, each counted and hit as the injection says.
const SystemCalls kInjecting = {
    [](int fd) {  // the descriptor is gone whatever close(2) reports
        const int result = RealSystemCalls().close(fd);
        return Fails("close") ? -1 : result;
    },
    [](int fd, struct stat* info) {
        return Fails("fstat") ? -1 : RealSystemCalls().fstat(fd, info);
    },
    [](int fd, int command, int argument) {
        return Fails("fcntl") ? -1 : RealSystemCalls().fcntl(fd, command, argument);
    },
    [](int fd, int operation) {
        return Fails("flock") ? -1 : RealSystemCalls().flock(fd, operation);
    },
    [](int fd, void* buffer, size_t count) -> ssize_t {
        return Fails("read", count) ? -1 : RealSystemCalls().read(fd, buffer, count);
    },
    [](int fd, const void* buffer, size_t count) -> ssize_t {
        return Fails("write", count) ? -1 : RealSystemCalls().write(fd, buffer, count);
    },
    [](int fd, off_t offset, int whence) -> off_t {
        return Fails("lseek") ? -1 : RealSystemCalls().lseek(fd, offset, whence);
    },
    [](int fd, off_t length) {
        return Fails("ftruncate") ? -1 : RealSystemCalls().ftruncate(fd, length);
    },
    [](struct pollfd* fds, nfds_t count, int timeout) {
        return Fails("poll") ? -1 : RealSystemCalls().poll(fds, count, timeout);
    },
    [](int dir, const char* name, int flags, mode_t mode) {
        return Fails("openat") ? -1 : RealSystemCalls().openat(dir, name, flags, mode);
    },
    [](int dir, const char* name, const struct open_how* how, size_t size) -> long {
        return Fails("openat2") ? -1 : RealSystemCalls().openat2(dir, name, how, size);
    },
    [](int dir, const char* name, struct stat* info, int flags) {
        return Fails("fstatat") ? -1 : RealSystemCalls().fstatat(dir, name, info, flags);
    },
    [](int dir, const char* name, char* buffer, size_t size) -> ssize_t {
        return Fails("readlinkat", size) ? -1
                                         : RealSystemCalls().readlinkat(dir, name, buffer, size);
    },
    [](int dir, const char* name, mode_t mode) {
        return Fails("mkdirat") ? -1 : RealSystemCalls().mkdirat(dir, name, mode);
    },
    [](int dir, const char* name, int flags) {
        return Fails("unlinkat") ? -1 : RealSystemCalls().unlinkat(dir, name, flags);
    },
    [](int fd) { return Fails("fchdir") ? -1 : RealSystemCalls().fchdir(fd); },
    [](char* buffer, size_t size) -> char* {
        return Fails("getcwd") ? nullptr : RealSystemCalls().getcwd(buffer, size);
    },
    [](int fd, void* buffer, size_t size) -> ssize_t {
        return Fails("getdents64", size) ? -1 : RealSystemCalls().getdents64(fd, buffer, size);
    },
    [](int fd, struct statfs* info) {
        return Fails("fstatfs") ? -1 : RealSystemCalls().fstatfs(fd, info);
    },
    [](int flags) { return Fails("inotify_init1") ? -1 : RealSystemCalls().inotify_init1(flags); },
    [](int fd, const char* name, uint32_t mask) {
        return Fails("inotify_add_watch") ? -1
                                          : RealSystemCalls().inotify_add_watch(fd, name, mask);
    },
    [](int fd, int watch) {
        return Fails("inotify_rm_watch") ? -1 : RealSystemCalls().inotify_rm_watch(fd, watch);
    },
};

// One call of the library, with the return code it reports a failure with;
// `output` receives what a read handed back.
struct Step {
    int failureCode;
    std::function<char*(CFile&, const std::string& name, std::string& output)> run;
};

struct Scenario {
    const char* what;
    std::string initial;  // the file's content before the run
    std::vector<Step> steps;
};

struct Outcome {
    std::vector<std::string> outputs;  // of the steps that succeeded
    long failedStep = -1;
    int code = ORVIK_RC_OK;
    std::string content;  // the file's, after the run
};

class FaultSweep : public ::testing::Test {
protected:
    void SetUp() override { SystemCallsInUse() = kInjecting; }
    void TearDown() override { SystemCallsInUse() = RealSystemCalls(); }

    // Runs the first `steps` steps of `scenario` under `injection`.
    Outcome Run(const Scenario& scenario, Injection injection, size_t steps = SIZE_MAX) {
        const std::string name = dir.Write("file", scenario.initial);
        Outcome outcome;
        g_injection = injection;
        g_calls = 0;
        g_callNames.clear();
        {
            CFile file;
            for (size_t i = 0; i < scenario.steps.size() && i < steps; ++i) {
                std::string output;
                if (scenario.steps[i].run(file, name, output) != nullptr) {
                    outcome.failedStep = static_cast<long>(i);
                    outcome.code = GEN_GetRetCode();
                    break;
                }
                outcome.outputs.push_back(output);
            }
        }
        g_injection = Injection{};
        outcome.content = dir.Read("file");
        return outcome;
    }

    // What is wrong with `got`, a run that met a fault, against the run
    // without one; empty when nothing is.
    std::string Judge(const Scenario& scenario, const Outcome& clean, const Outcome& got,
                      bool mustComplete) {
        if (got.failedStep < 0 || mustComplete) {
            const bool exact =
                got.failedStep < 0 && got.outputs == clean.outputs && got.content == clean.content;
            return exact ? "" : "did not complete exactly";
        }
        const auto step = static_cast<size_t>(got.failedStep);
        if (got.code != scenario.steps[step].failureCode) {
            return "step " + std::to_string(step) + " reported " + std::to_string(got.code);
        }
        if (!std::equal(got.outputs.begin(), got.outputs.end(), clean.outputs.begin())) {
            return "a read before the failure handed back other bytes";
        }
        // Each byte stands as the steps before the failed one left it, or
        // as the failed step would have left it had it got that far.
        const std::string before = Run(scenario, {}, step).content;
        const std::string after = Run(scenario, {}, step + 1).content;
        const size_t shorter = std::min(before.size(), after.size());
        const size_t longer = std::max(before.size(), after.size());
        if (got.content.size() < shorter || got.content.size() > longer) {
            return "the file's length is " + std::to_string(got.content.size());
        }
        for (size_t i = 0; i < got.content.size(); ++i) {
            const bool asBefore = i < before.size() && got.content[i] == before[i];
            const bool asAfter = i < after.size() && got.content[i] == after[i];
            if (!asBefore && !asAfter) {
                return "byte " + std::to_string(i) + " is misplaced";
            }
        }
        return "";
    }

    void Sweep(const Scenario& scenario) {
        const Outcome clean = Run(scenario, {});
        ASSERT_EQ(clean.failedStep, -1) << scenario.what;
        const long calls = g_calls;
        const struct {
            Fault fault;
            bool fromThenOn;
        } modes[] = {
            {Fault::interrupted, false}, {Fault::ioError, false},  {Fault::ioError, true},
            {Fault::diskFull, false},    {Fault::diskFull, true},  {Fault::wouldBlock, false},
            {Fault::wouldBlock, true},   {Fault::invalid, false},  {Fault::invalid, true},
            {Fault::shortCount, false},  {Fault::shortCount, true}};
        int failures = 0;
        for (long at = 0; at < calls; ++at) {
            for (const auto& mode : modes) {
                const Outcome got = Run(scenario, {at, mode.fault, mode.fromThenOn});
                const bool mustComplete =
                    mode.fault == Fault::interrupted || mode.fault == Fault::shortCount;
                const std::string wrong = Judge(scenario, clean, got, mustComplete);
                if (!wrong.empty() && ++failures <= 10) {
                    ADD_FAILURE() << scenario.what << ", call " << at << " of " << calls
                                  << ", fault " << static_cast<int>(mode.fault)
                                  << (mode.fromThenOn ? " from then on" : " once") << ": " << wrong;
                }
            }
        }
        EXPECT_EQ(failures, 0) << scenario.what << ": " << calls << " calls swept";
    }

    orvik::test::TempDir dir;
};

std::string Record(const std::string& text) {
    const auto length = static_cast<uint32_t>(text.size() + 1);
    return std::string{char(length), char(length >> 8), char(length >> 16), char(length >> 24)} +
           text + '\0';
}

Step Opening(uint32_t mode, int32_t create) {
    return {ORVIK_RC_OPEN_FAILED, [=](CFile& f, const std::string& name, std::string&) {
                return FILE_Open(&f, name.c_str(), mode, create);
            }};
}

Step LineRead(uint32_t max) {
    return {ORVIK_RC_READ_FAILED, [=](CFile& f, const std::string&, std::string& out) {
                std::string line(max + 1, '\0');
                uint32_t status = 0;
                char* message = FILE_ReadStr(&f, line.data(), max, &status);
                out = line.substr(0, status - ORVIK_STATUS_TRANSFERRED);
                return message;
            }};
}

Step RecordRead() {
    return {ORVIK_RC_READ_FAILED, [](CFile& f, const std::string&, std::string& out) {
                char* text = nullptr;
                char* message = FILE_ReadCString(&f, &text);
                out = text;
                return message;
            }};
}

Step Writing(const std::string& bytes) {
    return {ORVIK_RC_WRITE_FAILED, [=](CFile& f, const std::string&, std::string&) {
                return FILE_Write(&f, bytes.data(), static_cast<uint32_t>(bytes.size()));
            }};
}

const Step kClosing = {ORVIK_RC_CLOSE_FAILED,
                       [](CFile& f, const std::string&, std::string&) { return FILE_Close(&f); }};

TEST_F(FaultSweep, WritingLinesRecordsAndBlocksThenCuttingTheLength) {
    const Step recordWrite = {ORVIK_RC_WRITE_FAILED,
                              [](CFile& f, const std::string&, std::string&) {
                                  return FILE_WriteCString(&f, "a record");
                              }};
    const Step cut = {ORVIK_RC_SET_LENGTH_FAILED, [](CFile& f, const std::string&, std::string&) {
                          return FILE_SetLength(&f, 3000);
                      }};
    std::string block(5000, 'b');
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<char>('a' + i % 26);
    }
    Sweep({"writing",
           "an older and longer content that creating empties\n",
           {Opening(ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY), Writing("first line\r\n"),
            recordWrite, Writing(block), cut, kClosing}});
}

TEST_F(FaultSweep, ReadingLinesRecordsAndALongLine) {
    const std::string content = "one\r\ntwo\n" + Record("rec") + Record(std::string(600, 'r')) +
                                std::string(70000, 'L') + "\nlast";
    // A block past the read-ahead goes straight in; a short read is a
    // success, so the host asks again for the rest.
    const Step block = {ORVIK_RC_READ_FAILED, [](CFile& f, const std::string&, std::string& out) {
                            out.assign(66000, '\0');
                            for (uint32_t got = 0, status = 0; got < out.size();
                                 got += status - ORVIK_STATUS_TRANSFERRED) {
                                const auto left = static_cast<uint32_t>(out.size()) - got;
                                if (char* message = FILE_Read(&f, &out[got], left, &status)) {
                                    return message;
                                }
                            }
                            return static_cast<char*>(nullptr);
                        }};
    Sweep({"reading",
           content,
           {Opening(ORVIK_OPEN_READ, ORVIK_OPEN_KEEP), LineRead(100), LineRead(100), RecordRead(),
            RecordRead(), LineRead(80000), LineRead(100), kClosing}});
    Sweep({"reading blocks",
           content,
           {Opening(ORVIK_OPEN_READ, ORVIK_OPEN_KEEP), LineRead(2), block, LineRead(9), kClosing}});
    const Step device = {ORVIK_RC_OPEN_FAILED, [](CFile& f, const std::string&, std::string&) {
                             return FILE_Open(&f, "/dev/zero", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP);
                         }};
    Sweep({"reading a device, no read-ahead", "", {device, LineRead(5), LineRead(5), kClosing}});
}

TEST_F(FaultSweep, ReadingALineThenWritingInPlaceAndMoving) {
    const auto reported = [](int code, auto call) {
        return Step{code, [=](CFile& f, const std::string&, std::string&) { return call(&f); }};
    };
    const Step skip = reported(ORVIK_RC_SEEK_FAILED, [](CFile* f) { return FILE_Seek(f, 1, 1); });
    const Step toEnd =
        reported(ORVIK_RC_SEEK_FAILED, [](CFile* f) { return FILE_SeekToEnd(f, nullptr); });
    const Step length = reported(ORVIK_RC_GET_LENGTH_FAILED, [](CFile* f) {
        uint32_t bytes = 0;
        return FILE_GetLength(f, &bytes);
    });
    const Step cut = {ORVIK_RC_SET_LENGTH_FAILED, [](CFile& f, const std::string&, std::string&) {
                          return FILE_SetLength(&f, 40);
                      }};
    Sweep({"writing in place",
           "first line\nsecond line\nthird line\nfourth line\n",
           {Opening(ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_KEEP), LineRead(100), Writing("XX"),
            LineRead(100), skip, Writing("Y"), LineRead(100), cut, toEnd, length, Writing("end"),
            kClosing}});
    Sweep({"emptying a file opened for reading",
           "old",
           {Opening(ORVIK_OPEN_READ, ORVIK_OPEN_EMPTY), kClosing}});
}

}  // namespace

// ---------------------------------------------------------------------------
// The same faults at every call of the by-name operations: name resolution
// (the kernel's and the walk's), the folded index, mkdir, remove, links and
// the current directory. Each run starts in a directory of its own, so that
// every run builds its index afresh. A run must come out exactly as without
// the fault, or stop at one step with a failure of that step's own kind;
// every directory tree, inside drive T: and beside it, is then as the steps
// before it left it, or as the failed step would have left it. A missing
// name that an existence test could not tell from a present one may read as
// present (it says nothing) and ends the run there.

// What a by-name step gave: its answer, and whether an answer other than
// the one of the run without a fault is a failure of its own kind.
struct NameResult {
    std::string text;
    bool failureOfItsKind = false;
};

using NameStep = std::function<NameResult()>;

std::string Code() {
    return std::to_string(GEN_GetRetCode());
}

// Opens `name` and gives back the name the object hands back (unless
// `relative`: a name from the current directory may come back in another
// form, or as given, when the directory's name cannot be had) and, opened
// for reading, its first bytes.
NameStep OpenByName(const std::string& name, uint32_t mode, int32_t create, bool relative = false) {
    return [=] {
        CFile file;
        if (FILE_Open(&file, name.c_str(), mode, create) != nullptr) {
            return NameResult{"open " + Code(), true};
        }
        char head[8] = {};
        uint32_t status = 0;
        if (mode == 0 && FILE_Read(&file, head, sizeof head - 1, &status) != nullptr) {
            return NameResult{"read " + Code(), true};
        }
        const std::string path = relative ? "" : file.GetFilePath().GetString();
        if (FILE_Close(&file) != nullptr) {
            return NameResult{"close " + Code(), true};
        }
        return NameResult{path + " " + head};
    };
}

// A fault that hides an entry says nothing of it: the entry may be there.
NameStep ExistsByName(const std::string& name) {
    return [=] {
        const bool exists = FILE_FileExists(name.c_str()) != 0;
        return NameResult{exists ? "there" : "none", exists};
    };
}

NameStep MakeDirectory(const std::string& name) {
    return [=] {
        const int32_t result = FILE_MkDir(name.c_str());
        return NameResult{std::to_string(result), result < 0};
    };
}

NameStep RemoveByName(const std::string& name) {
    return [=] {
        const bool removed = FILE_Remove4Name(name.c_str()) == nullptr;
        return NameResult{removed ? "removed" : "remove " + Code(), !removed};
    };
}

NameStep MoveThere(const std::string& name) {
    return [=] {
        const int32_t result = FILE_Move2Dir(name.c_str());
        return NameResult{std::to_string(result), result == ORVIK_MOVE2DIR_REFUSED};
    };
}

// The tree under `top`: each entry's name with its content, "<dir>" or the
// target of a link.
std::map<std::string, std::string> TreeOf(const fs::path& top) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(top)) {
        const std::string name = fs::relative(entry.path(), top).string();
        if (entry.is_symlink()) {
            tree[name] = "-> " + fs::read_symlink(entry.path()).string();
        } else if (entry.is_directory()) {
            tree[name] = "<dir>";
        } else {
            std::ifstream in(entry.path(), std::ios::binary);
            tree[name] = {std::istreambuf_iterator<char>(in), {}};
        }
    }
    return tree;
}

struct NameScenario {
    const char* what;
    std::map<std::string, std::string> tree;  // as TreeOf gives it; drive T: is "drive"
    std::vector<NameStep> steps;
};

struct NameRun {
    std::vector<std::string> answers;  // of every step that ran
    bool acceptable = true;            // the last answer, when it differs, is a failure of its kind
    std::map<std::string, std::string> tree;
};

class NameSweep : public ::testing::TestWithParam<bool> {
protected:
    void TearDown() override {
        SystemCallsInUse() = RealSystemCalls();
        AfxMapDrive('T', nullptr);
    }

    // Runs the first `steps` steps of `scenario` in a fresh directory, and
    // stops after the first answer that differs from `clean`'s, if given.
    NameRun Run(const NameScenario& scenario, Injection injection, size_t steps = SIZE_MAX,
                const NameRun* clean = nullptr) {
        const fs::path top = dir.path() / "run";  // made afresh: a directory of its own each time
        for (const auto& [name, content] : scenario.tree) {
            if (content == "<dir>") {
                fs::create_directories(top / name);
            } else if (content.rfind("-> ", 0) == 0) {
                fs::create_symlink(content.substr(3), top / name);
            } else {
                std::ofstream(top / name, std::ios::binary) << content;
            }
        }
        const fs::path before = fs::current_path();
        fs::current_path(top);
        AfxMapDrive('T', (top / "drive").c_str());
        // The changes of the runs before are taken in first, so that every run
        // makes the same calls in the same order.
        fs::create_directories(dir.path() / "drain");
        FILE_FileExists((dir.path() / "drain" / "NONE").c_str());
        SystemCallsInUse() = kInjecting;
        if (GetParam()) {
            SystemCallsInUse().openat2 = [](int, const char*, const struct open_how*,
                                            size_t) -> long {
                errno = ENOSYS;
                return -1;
            };
        }
        NameRun run;
        g_injection = injection;
        g_calls = 0;
        g_callNames.clear();
        for (size_t i = 0; i < scenario.steps.size() && i < steps; ++i) {
            const NameResult result = scenario.steps[i]();
            run.answers.push_back(result.text);
            if (clean != nullptr && result.text != clean->answers[i]) {
                run.acceptable = result.failureOfItsKind;
                break;
            }
        }
        g_injection = Injection{};
        SystemCallsInUse() = RealSystemCalls();
        fs::current_path(before);
        run.tree = TreeOf(top);
        fs::remove_all(top);
        return run;
    }

    // What is wrong with `got` against the run without a fault; empty when
    // nothing is.
    std::string Judge(const NameScenario& scenario, const NameRun& clean, const NameRun& got,
                      bool mustComplete) {
        if (got.answers == clean.answers) {
            return got.tree == clean.tree ? "" : "the same answers, another tree";
        }
        const size_t step = got.answers.size() - 1;
        const std::string& answer = got.answers[step];
        if (mustComplete || !got.acceptable) {
            return "step " + std::to_string(step) + " answered '" + answer + "'";
        }
        if (got.tree != Run(scenario, {}, step).tree &&
            got.tree != Run(scenario, {}, step + 1).tree) {
            return "step " + std::to_string(step) + " ('" + answer + "') left another tree";
        }
        return "";
    }

    void Sweep(const NameScenario& scenario) {
        const NameRun clean = Run(scenario, {});
        const long calls = g_calls;
        const std::vector<const char*> names = g_callNames;
        const struct {
            Fault fault;
            bool fromThenOn;
        } modes[] = {{Fault::interrupted, false}, {Fault::ioError, false},
                     {Fault::ioError, true},      {Fault::wouldBlock, false},
                     {Fault::invalid, false},     {Fault::shortCount, false},
                     {Fault::shortCount, true}};
        int failures = 0;
        for (long at = 0; at < calls; ++at) {
            for (const auto& mode : modes) {
                const NameRun got =
                    Run(scenario, {at, mode.fault, mode.fromThenOn}, SIZE_MAX, &clean);
                const bool mustComplete =
                    mode.fault == Fault::interrupted || mode.fault == Fault::shortCount;
                const std::string wrong = Judge(scenario, clean, got, mustComplete);
                if (!wrong.empty() && ++failures <= 10) {
                    ADD_FAILURE() << scenario.what << ", call " << at << " ("
                                  << names[static_cast<size_t>(at)] << ") of " << calls
                                  << ", fault " << static_cast<int>(mode.fault)
                                  << (mode.fromThenOn ? " from then on" : " once") << ": " << wrong;
                }
            }
        }
        EXPECT_EQ(failures, 0) << scenario.what << ": " << calls << " calls swept";
    }

    orvik::test::TempDir dir;
};

INSTANTIATE_TEST_SUITE_P(, NameSweep, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? "WalkAlone" : "KernelFirst";
                         });

TEST_P(NameSweep, AnyCaseNamesOpenCreateMakeRemoveAndMove) {
    Sweep(
        {"any-case names",
         {{"drive", "<dir>"},
          {"drive/Mixed.Txt", "mixed"},
          {"drive/lower.txt", "lower"},
          {"drive/SubDir", "<dir>"},
          {"drive/SubDir/Keep.Txt", "keep"},
          {"drive/in_link", "-> SubDir/Keep.Txt"},
          {"drive/out_link", "-> ../outside"},
          {"outside", "<dir>"},
          {"outside/secret.txt", "secret"}},
         {OpenByName("T:\\MIXED.TXT", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP),
          ExistsByName("T:\\SUBDIR\\KEEP.TXT"),
          OpenByName("T:\\NEW FILE.TXT", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY),
          OpenByName("T:\\MIXED.TXT", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY),
          MakeDirectory("T:\\SUBDIR"), MakeDirectory("T:\\NEWDIR"), RemoveByName("T:\\LOWER.TXT"),
          ExistsByName("T:\\NONE.TXT"), OpenByName("T:\\IN_LINK", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP),
          ExistsByName("T:\\OUT_LINK\\SECRET.TXT"), MoveThere("T:\\SUBDIR"),
          OpenByName("KEEP.TXT", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP, true),
          OpenByName("T:\\SubDir\\Made.Txt", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY)}});
}
