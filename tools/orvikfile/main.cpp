// orvikfile: the OrvikFILE library from a shell.
#include <cstdio>
#include <string>
#include <vector>

#include "OrvikFILE_Version.h"
#include "cli.h"

namespace {

using namespace orvikfile;

struct Command {
    const char* name;
    const char* summary;  // for the overview, in lines of at most 62 columns
    const char* help;     // starts with the command's "Usage:" lines
    int (*run)(Arguments&);
};

const Command kCommands[] = {
    {"lines", "the lines of a text file, as FILE_ReadStr reads them", kLinesHelp, RunLines},
    {"records", "list (dump) or write (pack) counted string records", kRecordsHelp, RunRecords},
    {"path",
     "join, suffix and shrink path names (FILE_PathFile,\n"
     "FILE_FindSuffix, FILE_NewSuffix, FILE_ShrinkName)",
     kPathHelp, RunPath},
    {"exists", "whether a file or directory exists (FILE_FileExists)", kExistsHelp, RunExists},
    {"mkdir", "create a directory (FILE_MkDir)", kMkDirHelp, RunMkDir},
    {"rm", "delete a file (FILE_Remove4Name)", kRemoveHelp, RunRemove},
    {"home",
     "the directory above this program's own directory\n"
     "(FILE_GetModulePathName)",
     kHomeHelp, RunHome},
    {"choose-dir", "let the user choose a directory (FILE_ChoosePath)", kChooseDirHelp,
     RunChooseDir},
};

constexpr const char* kName =
    "NAME\n"
    "    orvikfile - try the OrvikFILE library from a shell\n";

constexpr const char* kDescription =
    "    Each command makes the library's calls on its arguments and prints what\n"
    "    they give, so that a text file, a file of counted string records or a\n"
    "    path name can be looked at as a program that uses the library sees it.\n"
    "    Every command takes --help for its own usage text.\n";

constexpr const char* kNotes =
    "    A failing call's message text goes to stderr. For inputs of 4 MiB and\n"
    "    more, lines and records dump show a progress line on stderr when it is\n"
    "    a terminal.\n";

constexpr const char* kExitStatus =
    "EXIT STATUS\n"
    "    0      success\n"
    "    1      a negative answer or result: exists found nothing, mkdir, home\n"
    "           or choose-dir failed (the reason on stderr), records dump\n"
    "           could not copy an input that is no regular file, or the\n"
    "           output could not be written\n"
    "    2      a usage error: unknown command or option, a missing argument,\n"
    "           a bad number\n"
    "    3      records dump: the file is no file of counted string records\n"
    "    4-16   the library's return code (GEN_GetRetCode) of the call that\n"
    "           failed, e.g. 8 delete failed, 11 end of file (a record cut\n"
    "           short), 12 read failed, 13 open failed, 14 write failed\n";

// The "Usage:" lines at the start of a command's help, without the label.
std::string Synopsis(const char* help) {
    std::string synopsis;
    const std::string text = help;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        if (line.empty()) {
            break;
        }
        synopsis += "    " + line.substr(line.find("orvikfile")) + "\n";
        start = end + 1;
    }
    return synopsis;
}

// `text` with every line after the first indented to `column`.
std::string Hanging(const char* text, size_t column) {
    std::string out;
    for (const char* c = text; *c; ++c) {
        out += *c;
        if (*c == '\n') {
            out.append(column, ' ');
        }
    }
    return out;
}

std::string Usage() {
    std::string usage = std::string(kName) + "\nSYNOPSIS\n";
    for (const Command& command : kCommands) {
        usage += Synopsis(command.help);
    }
    usage += "    orvikfile COMMAND --help\n    orvikfile --help | --version\n";
    usage += std::string("\nDESCRIPTION\n") + kDescription + "\n";
    constexpr size_t kSummaryColumn = 16;
    for (const Command& command : kCommands) {
        std::string line = std::string("    ") + command.name;
        line.resize(kSummaryColumn, ' ');
        usage += line + Hanging(command.summary, kSummaryColumn) + "\n";
    }
    return usage + "\n" + kNotes + "\n" + kExitStatus;
}

int RunCommand(const Command& command, std::vector<std::string> words) {
    Arguments args(command.name, std::move(words));
    try {
        const bool helpLong = args.TakeFlag("--help");
        if (args.TakeFlag("-h") || helpLong) {
            std::fputs(command.help, stdout);
            return FinishOutput(args.Command(), kExitSuccess);
        }
        return command.run(args);
    } catch (const UsageError& error) {
        Complain(args.Command(), "", error.what());
        std::fprintf(stderr, "Try 'orvikfile %s --help'.\n", args.Command().c_str());
        return kExitUsage;
    }
}

int ShowUsage() {
    std::fputs(Usage().c_str(), stdout);
    return FinishOutput("help", kExitSuccess);
}

int ShowVersion() {
    std::printf("orvikfile %s\n", ORVIK_FILE_VERSION_STRING);
    return FinishOutput("version", kExitSuccess);
}

// The options that stand in place of a command.
struct GlobalOption {
    const char* name;
    int (*run)();
};

const GlobalOption kGlobalOptions[] = {
    {"--help", ShowUsage},
    {"-h", ShowUsage},
    {"help", ShowUsage},
    {"--version", ShowVersion},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(Usage().c_str(), stderr);
        return kExitUsage;
    }
    const std::string first = argv[1];
    for (const GlobalOption& option : kGlobalOptions) {
        if (first == option.name) {
            return option.run();
        }
    }
    for (const Command& command : kCommands) {
        if (first == command.name) {
            return RunCommand(command, std::vector<std::string>(argv + 2, argv + argc));
        }
    }
    std::fprintf(stderr, "orvikfile: unknown command '%s'\nTry 'orvikfile --help'.\n",
                 first.c_str());
    return kExitUsage;
}
