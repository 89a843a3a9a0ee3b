// What every subcommand of orvikfile shares: its arguments, its usage
// errors, and the way a failure of the library reaches stderr and the exit
// status.
#ifndef ORVIKFILE_CLI_H
#define ORVIKFILE_CLI_H

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "OrvikAfx.h"

namespace orvikfile {

// Exit statuses besides the library's return codes (4 to 16).
constexpr int kExitSuccess = 0;
constexpr int kExitNo = 1;     // a negative answer or result, or output lost
constexpr int kExitUsage = 2;  // the command line is wrong

// A command line that cannot be run: reported with a hint to --help, exit 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words after a subcommand's name. Options are taken out first, by name;
// what is left must be positional.
class Arguments {
public:
    Arguments(std::string command, std::vector<std::string> words);

    const std::string& Command() const { return m_command; }

    // The first word, when it is not an option: the action of a command
    // group such as "records dump", one of `known`. It joins the command's
    // name. Empty when there is none; a usage error when it is not known.
    std::string TakeAction(std::initializer_list<const char*> known);

    // True when the flag is present (any number of times); takes it out.
    bool TakeFlag(const std::string& name);
    // The value of "--name VALUE" or "--name=VALUE"; the last one wins.
    std::optional<std::string> TakeValue(const std::string& name);
    // The words that are left, between `least` and `most` of them; an option
    // that nobody took is an unknown option. "--" ends the options.
    std::vector<std::string> Positionals(size_t least, size_t most);

private:
    std::string m_command;
    std::vector<std::string> m_words;
};

// A decimal count from `least` to `most`, else a usage error naming `what`.
uint32_t ParseCount(const std::string& text, const char* what, uint32_t least, uint32_t most);

// Prints `help` and returns true when --help or -h was given.
bool ShowHelp(Arguments& args, const char* help);

// "orvikfile: <command>: <subject>: <text>" on stderr; the subject may be empty.
void Complain(const std::string& command, const std::string& subject, const std::string& text);

// Reports a failure of a reporting library call: its message text on
// stderr, and its return code (never 0) as the exit status.
int LibraryFailure(const std::string& command, const std::string& subject, const char* message);

// Flushes stdout; a write that failed (a full disk, a closed pipe) is
// reported and gives exit status 1 in place of `status`.
int FinishOutput(const std::string& command, int status);

// Opens `name` in `file` with FILE_Open: for reading, or for writing with
// the file created or emptied. Returns 0, or the exit status of a failure
// that it reported.
int OpenForReading(const std::string& command, CFile& file, const std::string& name);
int OpenForWriting(const std::string& command, CFile& file, const std::string& name,
                   bool emptyFirst);
// Closes with FILE_Close; a failed close is reported and wins over a
// `status` of success, since data may be lost with it.
int CloseFile(const std::string& command, CFile& file, const std::string& name, int status);

// The subcommands, one group to a source file.
int RunLines(Arguments& args);
int RunRecords(Arguments& args);
int RunExists(Arguments& args);
int RunMkDir(Arguments& args);
int RunRemove(Arguments& args);
int RunPath(Arguments& args);
int RunHome(Arguments& args);
int RunChooseDir(Arguments& args);

}  // namespace orvikfile

#endif  // ORVIKFILE_CLI_H
