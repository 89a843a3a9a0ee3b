// orvikfile: the OrvikFILE library from a shell.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "OrvikFILE_Version.h"
#include "cli.h"

namespace {

using namespace orvikfile;

constexpr const char* kUsage =
    "NAME\n"
    "    orvikfile - try the OrvikFILE library from a shell\n"
    "\n"
    "SYNOPSIS\n"
    "    orvikfile lines FILE [--max N]\n"
    "    orvikfile records dump FILE [--json]\n"
    "    orvikfile records pack OUT [--append] [TEXT ...]\n"
    "    orvikfile path join DIR FILE\n"
    "    orvikfile path suffix NAME [NEW] [--base8]\n"
    "    orvikfile path shrink NAME WIDTH\n"
    "    orvikfile exists [--quiet] NAME\n"
    "    orvikfile mkdir NAME\n"
    "    orvikfile rm NAME\n"
    "    orvikfile home\n"
    "    orvikfile choose-dir [--title T] [--initial DIR]\n"
    "    orvikfile COMMAND --help\n"
    "    orvikfile --help | --version\n"
    "\n"
    "DESCRIPTION\n"
    "    Each command makes the library's calls on its arguments and prints what\n"
    "    they give, so that a text file, a file of counted string records or a\n"
    "    path name can be looked at as a program that uses the library sees it.\n"
    "\n"
    "    lines       the lines of a text file, as FILE_ReadStr reads them\n"
    "    records     list (dump) or write (pack) counted string records\n"
    "    path        join, suffix and shrink path names (FILE_PathFile,\n"
    "                FILE_FindSuffix, FILE_NewSuffix, FILE_ShrinkName)\n"
    "    exists      whether a file or directory exists (FILE_FileExists)\n"
    "    mkdir       create a directory (FILE_MkDir)\n"
    "    rm          delete a file (FILE_Remove4Name)\n"
    "    home        the directory above this program's own directory\n"
    "                (FILE_GetModulePathName)\n"
    "    choose-dir  let the user choose a directory (FILE_ChoosePath)\n"
    "\n"
    "    A failing call's message text goes to stderr. For inputs of 4 MiB and\n"
    "    more, lines and records dump show a progress line on stderr when it is\n"
    "    a terminal.\n"
    "\n"
    "EXIT STATUS\n"
    "    0      success\n"
    "    1      a negative answer or result: exists found nothing, mkdir, home\n"
    "           or choose-dir failed (the reason on stderr), or the output\n"
    "           could not be written\n"
    "    2      a usage error: unknown command or option, a missing argument,\n"
    "           a bad number\n"
    "    4-16   the library's return code (GEN_GetRetCode) of the call that\n"
    "           failed, e.g. 8 delete failed, 11 end of file (a record cut\n"
    "           short), 12 read failed, 13 open failed, 14 write failed\n";

struct Command {
    const char* name;
    int (*run)(Arguments&);
};

const Command kCommands[] = {
    {"lines", RunLines},   {"records", RunRecords},
    {"exists", RunExists}, {"mkdir", RunMkDir},
    {"rm", RunRemove},     {"path", RunPath},
    {"home", RunHome},     {"choose-dir", RunChooseDir},
};

int Dispatch(const std::string& name, std::vector<std::string> words) {
    for (const Command& command : kCommands) {
        if (name == command.name) {
            Arguments args(name, std::move(words));
            try {
                return command.run(args);
            } catch (const UsageError& error) {
                Complain(args.Command(), "", error.what());
                std::fprintf(stderr, "Try 'orvikfile %s --help'.\n", args.Command().c_str());
                return kExitUsage;
            }
        }
    }
    std::fprintf(stderr, "orvikfile: unknown command '%s'\nTry 'orvikfile --help'.\n",
                 name.c_str());
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        std::fputs(kUsage, stdout);
        return FinishOutput("help", kExitSuccess);
    }
    if (first == "--version") {
        std::printf("orvikfile %s\n", ORVIK_FILE_VERSION_STRING);
        return FinishOutput("version", kExitSuccess);
    }
    return Dispatch(first, std::vector<std::string>(argv + 2, argv + argc));
}
