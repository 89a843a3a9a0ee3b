// orvikfile exists, mkdir, rm: the library's operations on names.
#include <cstdio>
#include <string>

#include "OrvikFILE_Lib.h"
#include "cli.h"

namespace orvikfile {

namespace {

std::string MkDirFailure(int32_t result, const std::string& name) {
    switch (result) {
        case ORVIK_MKDIR_BLANK_NAME:
            return "the name is blank";
        case ORVIK_MKDIR_REFUSED:
            return FILE_FileExists(name.c_str()) ? "an entry of that name exists already"
                                                 : "access denied";
        case ORVIK_MKDIR_NO_PATH:
            return "a directory on the way to it does not exist";
        default:
            return "the system refused to create it";
    }
}

}  // namespace

const char* const kExistsHelp =
    "Usage: orvikfile exists [--quiet] NAME\n"
    "\n"
    "Asks FILE_FileExists whether a file or directory NAME exists and prints\n"
    "'NAME: exists' or 'NAME: does not exist' (nothing with --quiet).\n"
    "\n"
    "Exit status: 0 when it exists, 1 when not, 2 for a usage error.\n";

const char* const kMkDirHelp =
    "Usage: orvikfile mkdir NAME\n"
    "\n"
    "Creates the directory NAME with FILE_MkDir. Its parent must exist.\n"
    "\n"
    "Exit status: 0 when it was created; 1 when it was not, with the reason on\n"
    "stderr (a blank name; an entry of that name exists already; access was\n"
    "denied; a directory on the way does not exist; any other refusal);\n"
    "2 for a usage error.\n";

const char* const kRemoveHelp =
    "Usage: orvikfile rm NAME\n"
    "\n"
    "Deletes the file NAME with FILE_Remove4Name. A directory is not removed.\n"
    "\n"
    "Exit status: 0 when it was deleted; else the library's return code, 8,\n"
    "with its message on stderr; 2 for a usage error.\n";

int RunExists(Arguments& args) {
    const bool quietLong = args.TakeFlag("--quiet");
    const bool quiet = args.TakeFlag("-q") || quietLong;
    const std::string name = args.Positionals(1, 1)[0];
    const bool exists = FILE_FileExists(name.c_str()) != 0;
    if (!quiet) {
        std::printf("%s: %s\n", name.c_str(), exists ? "exists" : "does not exist");
    }
    return FinishOutput(args.Command(), exists ? kExitSuccess : kExitNo);
}

int RunMkDir(Arguments& args) {
    const std::string name = args.Positionals(1, 1)[0];
    const int32_t result = FILE_MkDir(name.c_str());
    if (result != 0) {
        Complain(args.Command(), name, MkDirFailure(result, name));
        return kExitNo;
    }
    return kExitSuccess;
}

int RunRemove(Arguments& args) {
    const std::string name = args.Positionals(1, 1)[0];
    if (char* message = FILE_Remove4Name(name.c_str())) {
        return LibraryFailure(args.Command(), name, message);
    }
    return kExitSuccess;
}

}  // namespace orvikfile
