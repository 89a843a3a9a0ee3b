// orvikfile home: the directory that the library finds for a program.
#include <cstdio>
#include <string>

#include "OrvikFILE_Lib.h"
#include "cli.h"

namespace orvikfile {

namespace {

std::string HomeFailure(int32_t result) {
    return result == ORVIK_MODULE_NO_NAME
               ? "the system gave no name for this program that fits 258 bytes"
               : "the program's name has no directory above its own";
}

}  // namespace

const char* const kHomeHelp =
    "Usage: orvikfile home\n"
    "\n"
    "Prints the directory that FILE_GetModulePathName gives: the directory\n"
    "above the one that holds this program, in the library's name form: a\n"
    "drive and backslashes (for /opt/orvik/bin/orvikfile, C:\\opt\\orvik).\n"
    "\n"
    "Exit status: 0; 1 when the library finds no such directory (the reason\n"
    "on stderr); 2 for a usage error.\n";

int RunHome(Arguments& args) {
    args.Positionals(0, 0);
    char directory[MAX_PATH];
    const int32_t result = FILE_GetModulePathName(directory);
    if (result < 0) {
        Complain(args.Command(), "", HomeFailure(result));
        return kExitNo;
    }
    std::printf("%s\n", directory);
    return FinishOutput(args.Command(), kExitSuccess);
}

}  // namespace orvikfile
