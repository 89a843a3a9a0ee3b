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
#include "OrvikFILE_Codes.h"

namespace orvikfile {

// Exit statuses besides the library's return codes (4 to 16), in the gaps
// of codes that no library function hands out.
constexpr int kExitSuccess = ORVIK_RC_OK;
constexpr int kExitNo = 1;          // a negative answer or result, or output lost
constexpr int kExitUsage = 2;       // the command line is wrong
constexpr int kExitNotRecords = 3;  // records dump gave up on a file of another kind

// The name that stands for standard input in place of a file's name.
constexpr const char* kStandardInput = "-";

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

// "orvikfile: <command>: <subject>: <text>" on stderr; the subject may be empty.
void Complain(const std::string& command, const std::string& subject, const std::string& text);

// Reports a failure of a reporting library call: its message text on
// stderr, and its return code (never 0) as the exit status.
int LibraryFailure(const std::string& command, const std::string& subject, const char* message);

// Flushes stdout; a write that failed (a full disk, a closed pipe) is
// reported and gives exit status 1 in place of `status`.
int FinishOutput(const std::string& command, int status);

// How a file named on the command line is named in messages: "-" as
// "standard input", any other name as it is.
std::string ShownName(const std::string& name);

// Opens `name` in `file` with FILE_Open: for reading ("-" is standard
// input, from where the shell left it), or for writing with the file created
// or emptied. Returns 0, or the exit status of a failure that it reported.
int OpenForReading(const std::string& command, CFile& file, const std::string& name);
int OpenForWriting(const std::string& command, CFile& file, const std::string& name,
                   bool emptyFirst);
// True when the open `file` is a regular file, which every opener reads
// from its start. A pipe, a FIFO, a terminal or another device hands each
// byte to one reader only. Asked of the descriptor (fstat), not of the name,
// which may be in the host's form.
bool IsRegularFile(const CFile& file);
// Closes with FILE_Close; a failed close is reported and wins over a
// `status` of success, since data may be lost with it.
int CloseFile(const std::string& command, CFile& file, const std::string& name, int status);

// The subcommands, one group to a source file, each with its usage text
// beside it. A usage text starts with its "Usage:" lines, which the
// program's own usage text gathers into its synopsis.
int RunLines(Arguments& args);
int RunRecords(Arguments& args);
int RunExists(Arguments& args);
int RunMkDir(Arguments& args);
int RunRemove(Arguments& args);
int RunPath(Arguments& args);
int RunHome(Arguments& args);
int RunChooseDir(Arguments& args);
extern const char* const kLinesHelp;
extern const char* const kRecordsHelp;
extern const char* const kExistsHelp;
extern const char* const kMkDirHelp;
extern const char* const kRemoveHelp;
extern const char* const kPathHelp;
extern const char* const kHomeHelp;
extern const char* const kChooseDirHelp;

}  // namespace orvikfile

#endif  // ORVIKFILE_CLI_H
