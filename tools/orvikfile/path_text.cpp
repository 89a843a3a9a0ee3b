// orvikfile path: the library's path-text functions on names from the shell.
#include <cstdio>
#include <string>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "cli.h"

namespace orvikfile {

namespace {

constexpr uint32_t kWidestShrink = 65536;

void PrintLine(const char* text) {
    std::fputs(text, stdout);
    std::putc('\n', stdout);
}

int Join(Arguments& args) {
    std::vector<std::string> words = args.Positionals(2, 2);
    std::string& dir = words[0];
    std::string& file = words[1];
    // The longest path that FILE_PathFile writes, and its zero.
    std::vector<char> path(dir.size() + file.size() + 3);
    FILE_PathFile(path.data(), dir.data(), file.data());
    PrintLine(path.data());
    return kExitSuccess;
}

int Suffix(Arguments& args) {
    const bool base8 = args.TakeFlag("--base8");
    const std::vector<std::string> words = args.Positionals(1, 2);
    const std::string& name = words[0];
    if (words.size() == 1) {
        const int32_t at = FILE_FindSuffix(name.c_str(), base8 ? 1 : 0);
        const auto cut = static_cast<size_t>(at);  // an index within the name
        std::printf("%d\t%s\t%s\n", at, name.substr(0, cut).c_str(), name.substr(cut).c_str());
        return kExitSuccess;
    }
    if (base8) {
        throw UsageError("--base8 goes with a lookup, not with a NEW suffix");
    }
    // FILE_NewSuffix writes at most a full stop, three characters and a zero
    // from the old suffix's place on.
    std::vector<char> renamed(name.begin(), name.end());
    renamed.resize(name.size() + 5, '\0');
    FILE_NewSuffix(renamed.data(), words[1].c_str());
    PrintLine(renamed.data());
    return kExitSuccess;
}

int Shrink(Arguments& args) {
    std::vector<std::string> words = args.Positionals(2, 2);
    const uint32_t width = ParseCount(words[1], "WIDTH", 1, kWidestShrink);
    std::vector<char> shrunk(size_t{width} + 1);
    if (FILE_ShrinkName(shrunk.data(), words[0].data(), static_cast<int32_t>(width)) < 0) {
        Complain(args.Command(), words[0], "FILE_ShrinkName refused the name");
        return kExitNo;
    }
    PrintLine(shrunk.data());
    return kExitSuccess;
}

}  // namespace

const char* const kPathHelp =
    "Usage: orvikfile path join DIR FILE\n"
    "       orvikfile path suffix NAME [--base8]\n"
    "       orvikfile path suffix NAME NEW\n"
    "       orvikfile path shrink NAME WIDTH\n"
    "\n"
    "Prints what the library's path-text functions make of the names. Their\n"
    "path text is the library's own: a backslash separates names, a letter\n"
    "and a colon name a drive, and a forward slash becomes a backslash only\n"
    "in path join.\n"
    "\n"
    "path join DIR FILE      FILE_PathFile: DIR and FILE joined into one path,\n"
    "                        upper case, doubled backslashes and the blanks\n"
    "                        around FILE dropped.\n"
    "path suffix NAME        FILE_FindSuffix: the index where the suffix\n"
    "                        begins, the name before it and the suffix, by\n"
    "                        tabs. With --base8, the index where a base part\n"
    "                        longer than eight characters is cut instead.\n"
    "path suffix NAME NEW    FILE_NewSuffix: NAME with its suffix replaced by\n"
    "                        the first three characters of NEW (a leading\n"
    "                        full stop of NEW is dropped); an empty NEW removes\n"
    "                        the suffix.\n"
    "path shrink NAME WIDTH  FILE_ShrinkName: NAME shortened to at most WIDTH\n"
    "                        characters (1 to 65536), its last component kept\n"
    "                        behind '...' where that fits.\n"
    "\n"
    "Exit status: 0; 2 for a usage error, such as a WIDTH of 0.\n";

int RunPath(Arguments& args) {
    const std::string action = args.TakeAction({"join", "suffix", "shrink"});
    int status = kExitSuccess;
    if (action == "join") {
        status = Join(args);
    } else if (action == "suffix") {
        status = Suffix(args);
    } else if (action == "shrink") {
        status = Shrink(args);
    } else {
        throw UsageError("missing action: join, suffix or shrink");
    }
    return FinishOutput(args.Command(), status);
}

}  // namespace orvikfile
