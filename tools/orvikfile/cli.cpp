#include "cli.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "progress.h"

namespace orvikfile {

namespace {

constexpr const char* kEndOfOptions = "--";

// Standard input by a name that FILE_Open can open: the same pipe, terminal
// or file. A regular file is opened anew by it, at its start.
constexpr const char* kStandardInputName = "/dev/stdin";

// Moves a regular file opened as standard input to where the shell left
// standard input, as reading a pipe goes on from there too.
int GoWhereStandardInputIs(const std::string& command, CFile& file) {
    for (off_t left = ::lseek(STDIN_FILENO, 0, SEEK_CUR); left > 0;) {
        const auto step = static_cast<int32_t>(std::min<off_t>(left, INT32_MAX));
        if (char* message = FILE_Seek(&file, step, CFile::current)) {
            const int failed = LibraryFailure(command, ShownName(kStandardInput), message);
            FILE_Close(&file);
            return failed;
        }
        left -= step;
    }
    return kExitSuccess;
}

bool LooksLikeOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-';
}

}  // namespace

Arguments::Arguments(std::string command, std::vector<std::string> words)
    : m_command(std::move(command)), m_words(std::move(words)) {}

std::string Arguments::TakeAction(std::initializer_list<const char*> known) {
    if (m_words.empty() || LooksLikeOption(m_words.front())) {
        return {};
    }
    std::string action = m_words.front();
    bool isKnown = false;
    for (const char* name : known) {
        isKnown = isKnown || action == name;
    }
    if (!isKnown) {
        throw UsageError("unknown action '" + action + "'");
    }
    m_words.erase(m_words.begin());
    m_command += " " + action;
    return action;
}

bool Arguments::TakeFlag(const std::string& name) {
    bool found = false;
    for (auto word = m_words.begin(); word != m_words.end() && *word != kEndOfOptions;) {
        if (*word == name) {
            word = m_words.erase(word);
            found = true;
        } else {
            ++word;
        }
    }
    return found;
}

std::optional<std::string> Arguments::TakeValue(const std::string& name) {
    std::optional<std::string> value;
    const std::string joined = name + "=";
    for (auto word = m_words.begin(); word != m_words.end() && *word != kEndOfOptions;) {
        if (word->compare(0, joined.size(), joined) == 0) {
            value = word->substr(joined.size());
            word = m_words.erase(word);
        } else if (*word == name) {
            if (word + 1 == m_words.end()) {
                throw UsageError("option " + name + " needs a value");
            }
            value = *(word + 1);
            word = m_words.erase(word, word + 2);
        } else {
            ++word;
        }
    }
    return value;
}

std::vector<std::string> Arguments::Positionals(size_t least, size_t most) {
    std::vector<std::string> left;
    bool optionsEnded = false;
    for (const std::string& word : m_words) {
        if (!optionsEnded && word == kEndOfOptions) {
            optionsEnded = true;
        } else if (!optionsEnded && LooksLikeOption(word)) {
            throw UsageError("unknown option " + word);
        } else {
            left.push_back(word);
        }
    }
    if (left.size() < least) {
        throw UsageError("missing argument");
    }
    if (left.size() > most) {
        throw UsageError("unexpected argument '" + left[most] + "'");
    }
    return left;
}

uint32_t ParseCount(const std::string& text, const char* what, uint32_t least, uint32_t most) {
    const bool digitsOnly =
        !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    errno = 0;
    const unsigned long long value = digitsOnly ? std::strtoull(text.c_str(), nullptr, 10) : 0;
    if (!digitsOnly || errno == ERANGE || value < least || value > most) {
        throw UsageError(std::string(what) + " must be a whole number from " +
                         std::to_string(least) + " to " + std::to_string(most) + ", not '" + text +
                         "'");
    }
    return static_cast<uint32_t>(value);
}

void Complain(const std::string& command, const std::string& subject, const std::string& text) {
    std::string line = "orvikfile: " + command + ": ";
    if (!subject.empty()) {
        line += subject + ": ";
    }
    line += text + "\n";
    std::fflush(stdout);  // what came before the failure stays in order with it
    Progress::Interrupt();
    std::fputs(line.c_str(), stderr);
}

int LibraryFailure(const std::string& command, const std::string& subject, const char* message) {
    Complain(command, subject, message ? message : "failed");
    const int code = GEN_GetRetCode();
    return code != ORVIK_RC_OK ? code : kExitNo;
}

int FinishOutput(const std::string& command, int status) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        Complain(command, "standard output", std::string("write failed: ") + std::strerror(errno));
        return status == kExitSuccess ? kExitNo : status;
    }
    return status;
}

std::string ShownName(const std::string& name) {
    return name == kStandardInput ? "standard input" : name;
}

int OpenForReading(const std::string& command, CFile& file, const std::string& name) {
    const char* opened = name == kStandardInput ? kStandardInputName : name.c_str();
    if (char* message = FILE_Open(&file, opened, ORVIK_OPEN_READ, ORVIK_OPEN_KEEP)) {
        return LibraryFailure(command, ShownName(name), message);
    }
    return name == kStandardInput && IsRegularFile(file) ? GoWhereStandardInputIs(command, file)
                                                         : kExitSuccess;
}

int OpenForWriting(const std::string& command, CFile& file, const std::string& name,
                   bool emptyFirst) {
    if (char* message = FILE_Open(&file, name.c_str(), ORVIK_OPEN_READ_WRITE,
                                  emptyFirst ? ORVIK_OPEN_EMPTY : ORVIK_OPEN_KEEP)) {
        return LibraryFailure(command, name, message);
    }
    return kExitSuccess;
}

bool IsRegularFile(const CFile& file) {
    struct stat status = {};
    return ::fstat(static_cast<int>(file.m_hFile), &status) == 0 && S_ISREG(status.st_mode);
}

int CloseFile(const std::string& command, CFile& file, const std::string& name, int status) {
    if (char* message = FILE_Close(&file)) {
        const int closeStatus = LibraryFailure(command, name, message);
        return status == kExitSuccess ? closeStatus : status;
    }
    return status;
}

}  // namespace orvikfile
