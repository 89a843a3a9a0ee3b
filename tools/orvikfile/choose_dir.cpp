// orvikfile choose-dir: the folder browser of FILE_ChoosePath.
#include <cstdio>
#include <optional>
#include <string>

#include "OrvikFILE_Lib.h"
#include "cli.h"

namespace orvikfile {

namespace {

const char* OrNull(const std::optional<std::string>& text) {
    return text ? text->c_str() : nullptr;
}

}  // namespace

const char* const kChooseDirHelp =
    "Usage: orvikfile choose-dir [--title T] [--initial DIR]\n"
    "\n"
    "Lets the user choose a directory in the folder browser of\n"
    "FILE_ChoosePath, titled T (default \"Choose a Directory\") and with DIR\n"
    "selected at the start, and prints the chosen directory.\n"
    "\n"
    "Exit status: 0 when a directory was chosen; 1 when the user cancelled\n"
    "(also when no browser can be shown, e.g. without a display) or chose an\n"
    "item that is no directory on disk; 2 for a usage error.\n";

int RunChooseDir(Arguments& args) {
    const std::optional<std::string> title = args.TakeValue("--title");
    const std::optional<std::string> initial = args.TakeValue("--initial");
    args.Positionals(0, 0);
    char chosen[MAX_PATH] = {};
    const int32_t result = FILE_ChoosePath(chosen, OrNull(initial), OrNull(title), nullptr);
    if (result == ORVIK_CHOOSE_CANCELLED) {
        char why[512] = {};
        const bool shown = AfxFolderBrowserStatus(why, sizeof why) == AFX_BROWSER_READY;
        Complain(args.Command(), "",
                 "no directory was chosen (" + std::string(shown ? "cancelled" : why) + ")");
        return kExitNo;
    }
    if (result < 0) {
        Complain(args.Command(), "", "the chosen item is no directory on disk");
        return kExitNo;
    }
    std::printf("%s\n", chosen);
    return FinishOutput(args.Command(), kExitSuccess);
}

}  // namespace orvikfile
