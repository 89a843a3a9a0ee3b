// orvikfile records: list and write files of counted string records.
#include <endian.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "cli.h"
#include "escape.h"
#include "progress.h"

namespace orvikfile {

namespace {

// The most body bytes that FILE_ReadCString takes from one record: the
// longest text and its zero.
constexpr int32_t kLargestBody = ORVIK_RECORD_MAX_TEXT + 1;

// A file whose records break the layout this many times in a row is taken
// for a file of another kind; the dump gives up there.
constexpr uint32_t kGiveUpAfter = 4;
// At most this many records that break the layout are reported one by one.
constexpr uint32_t kWarningsShown = 10;

int32_t DecodeLength(const unsigned char (&field)[ORVIK_RECORD_LENGTH_BYTES]) {
    uint32_t littleEndian = 0;
    std::memcpy(&littleEndian, field, sizeof littleEndian);
    return static_cast<int32_t>(le32toh(littleEndian));
}

uint32_t BodyBytesRead(int32_t length) {
    if (length < 1) {
        return 0;
    }
    return static_cast<uint32_t>(length < kLargestBody ? length : kLargestBody);
}

// Why a whole record cannot have come from FILE_WriteCString, or empty when
// it can: the writer stores a text without zero bytes, with its zero, and
// cuts a longer text to a full body without one.
std::string LayoutBreak(int32_t length, const char* body) {
    if (length < 0) {
        return "its length field " + std::to_string(length) + " is negative";
    }
    if (length > kLargestBody) {
        return "its length field " + std::to_string(length) + " is above " +
               std::to_string(kLargestBody) + ": the next record is read from inside its body";
    }
    const uint32_t textBytes = BodyBytesRead(length) - (length > 0 ? 1 : 0);
    if (std::memchr(body, '\0', textBytes) != nullptr) {
        return "its text holds a zero byte";
    }
    if (length > 0 && length < kLargestBody && body[length - 1] != '\0') {
        return "its text has no terminating zero";
    }
    return {};
}

struct Listing {
    bool json = false;
    bool utf8 = false;  // texts as UTF-8 rather than byte by byte
};

// One listed line. `truncated` marks a record cut short.
void PrintRecord(Listing listing, uint32_t index, int32_t length, const char* text,
                 bool truncated) {
    if (listing.json) {
        std::printf("{\"index\":%u,\"length\":%d,\"text\":\"%s\"%s}\n", index, length,
                    EscapeJson(text, listing.utf8).c_str(), truncated ? ",\"truncated\":true" : "");
    } else {
        std::printf("%u\t%d\t%s\n", index, length, EscapePlain(text, listing.utf8).c_str());
    }
}

// An input that hands each byte to one reader only (a pipe, a FIFO, a
// terminal), copied into a temporary file that goes when this does: a dump
// reads its file through two openers.
class SpooledInput {
public:
    SpooledInput(const std::string& command, const std::string& shown)
        : m_command(command), m_shown(shown) {}
    ~SpooledInput() {
        if (!m_name.empty()) {
            ::unlink(m_name.c_str());
        }
    }
    SpooledInput(const SpooledInput&) = delete;
    SpooledInput& operator=(const SpooledInput&) = delete;

    // Copies what `input` reads, up to its end. Returns 0, or the exit
    // status of a failure that it reported (then no copy is left).
    int Copy(CFile& input) {
        const char* directory = std::getenv("TMPDIR");
        std::string name =
            std::string(directory && *directory ? directory : "/tmp") + "/orvikfile-input-XXXXXX";
        const int descriptor = ::mkstemp(name.data());
        if (descriptor < 0) {
            return CannotCopy();
        }
        FILE* copy = ::fdopen(descriptor, "wb");
        int status = copy ? CopyAll(input, copy) : CannotCopy();
        if ((copy ? std::fclose(copy) : ::close(descriptor)) != 0 && status == kExitSuccess) {
            status = CannotCopy();
        }
        if (status == kExitSuccess) {
            m_name = name;
        } else {
            ::unlink(name.c_str());
        }
        return status;
    }

    const std::string& Name() const { return m_name; }

private:
    int CopyAll(CFile& input, FILE* copy) {
        char block[1 << 16];
        uint64_t copied = 0;
        for (;;) {
            uint32_t status = 0;
            if (char* message = FILE_Read(&input, block, sizeof block, &status)) {
                return GEN_GetRetCode() == ORVIK_RC_END_OF_FILE
                           ? kExitSuccess
                           : LibraryFailure(m_command, m_shown, message);
            }
            const uint32_t got = status - ORVIK_STATUS_TRANSFERRED;
            copied += got;
            if (copied > kLargestCopy) {
                Complain(m_command, m_shown,
                         "longer than 4 GiB, more than the library's file positions reach");
                return kExitNo;
            }
            if (std::fwrite(block, 1, got, copy) != got) {
                return CannotCopy();
            }
        }
    }

    int CannotCopy() {
        Complain(m_command, m_shown,
                 std::string("cannot copy it into a temporary file: ") + std::strerror(errno));
        return kExitNo;
    }

    // A copy holds no more bytes than a file position of 32 bits reaches, so
    // an endless device stops filling the disk there.
    static constexpr uint64_t kLargestCopy = UINT32_MAX;

    const std::string& m_command;
    const std::string& m_shown;
    std::string m_name;
};

// Walks a record file with FILE_ReadCString. The length fields, which the
// listing shows beside the texts, come from a second opener of the same file
// that keeps pace with the first: it reads each field and the body behind it
// with FILE_Read. Both read straight on, so neither loses its read-ahead to
// a seek. The second opener also tells the clean end of the file (no byte
// left for a field) from a record cut short, and shows the bodies that
// break the layout.
class RecordDump {
public:
    RecordDump(const std::string& command, const std::string& name, const std::string& shown,
               Listing listing)
        : m_command(command), m_name(name), m_shown(shown), m_listing(listing) {}

    int Run() {
        if (const int failed = OpenForReading(m_command, m_records, m_name)) {
            return failed;
        }
        int status = OpenForReading(m_command, m_fields, m_name);
        if (status == kExitSuccess) {
            status = DumpAll();
            status = CloseFile(m_command, m_fields, m_shown, status);
        }
        return CloseFile(m_command, m_records, m_shown, status);
    }

private:
    int DumpAll() {
        uint32_t fileLength = 0;
        if (char* message = FILE_GetLength(&m_records, &fileLength)) {
            return LibraryFailure(m_command, m_shown, message);
        }
        Progress progress("orvikfile records dump " + m_shown, fileLength);
        int status = kExitSuccess;
        for (uint32_t index = 0;; ++index) {
            bool atEnd = false;
            status = DumpOne(index, atEnd);
            if (status != kExitSuccess || atEnd) {
                break;
            }
            progress.Update(m_position);
        }
        return EndOfDump(status);
    }

    // Reads `count` bytes from the second opener; `got` says how many came
    // before the end of the file. A failure other than the end is reported.
    int ReadFields(void* into, uint32_t count, uint32_t& got) {
        got = 0;
        while (got < count) {
            uint32_t status = 0;
            char* const next = static_cast<char*>(into) + got;
            if (char* message = FILE_Read(&m_fields, next, count - got, &status)) {
                return GEN_GetRetCode() == ORVIK_RC_END_OF_FILE
                           ? kExitSuccess
                           : LibraryFailure(m_command, m_shown, message);
            }
            got += status - ORVIK_STATUS_TRANSFERRED;
        }
        return kExitSuccess;
    }

    // The next length field, and the body behind it that the reader will
    // take, as far as it is in the file.
    int NextField(uint32_t index, int32_t& length, uint32_t& bodyInFile, bool& atEnd) {
        unsigned char field[ORVIK_RECORD_LENGTH_BYTES] = {};
        uint32_t got = 0;
        if (const int failed = ReadFields(field, sizeof field, got)) {
            return failed;
        }
        if (got < sizeof field) {
            atEnd = got == 0;
            if (!atEnd) {
                Complain(m_command, m_shown,
                         "record " + std::to_string(index) +
                             " is cut short: its length field has " + std::to_string(got) + " of " +
                             std::to_string(sizeof field) + " bytes");
            }
            return atEnd ? kExitSuccess : ORVIK_RC_END_OF_FILE;
        }
        length = DecodeLength(field);
        return ReadFields(m_body, BodyBytesRead(length), bodyInFile);
    }

    int DumpOne(uint32_t index, bool& atEnd) {
        int32_t length = 0;
        uint32_t bodyInFile = 0;
        if (const int failed = NextField(index, length, bodyInFile, atEnd); failed || atEnd) {
            return failed;
        }
        ++m_listed;
        char* text = nullptr;
        const uint32_t body = BodyBytesRead(length);
        if (char* message = FILE_ReadCString(&m_records, &text)) {
            if (GEN_GetRetCode() != ORVIK_RC_END_OF_FILE) {
                return LibraryFailure(m_command, m_shown, message);
            }
            PrintRecord(m_listing, index, length, text, true);
            if (length > kLargestBody) {  // a broken layout whatever the rest of the body
                if (const int gaveUp = CheckLayout(index, LayoutBreak(length, m_body))) {
                    return gaveUp;
                }
            }
            Complain(m_command, m_shown,
                     "record " + std::to_string(index) +
                         " is cut short: " + std::to_string(bodyInFile) + " of its " +
                         std::to_string(body) + " body bytes are in the file: " + message);
            return ORVIK_RC_END_OF_FILE;
        }
        PrintRecord(m_listing, index, length, text, false);
        m_position += ORVIK_RECORD_LENGTH_BYTES + body;
        return CheckLayout(index, LayoutBreak(length, m_body));
    }

    // Counts and reports a record that breaks the layout; gives up on the
    // file when too many come in a row.
    int CheckLayout(uint32_t index, const std::string& why) {
        if (why.empty()) {
            m_breaksInARow = 0;
            return kExitSuccess;
        }
        ++m_breaksInARow;
        if (++m_breaks <= kWarningsShown) {
            Complain(m_command, m_shown,
                     "record " + std::to_string(index) + " breaks the record layout: " + why);
        }
        if (m_breaksInARow < kGiveUpAfter) {
            return kExitSuccess;
        }
        Complain(m_command, m_shown,
                 "not a file of counted string records: " + std::to_string(kGiveUpAfter) +
                     " records in a row break the layout; giving up after record " +
                     std::to_string(index));
        return kExitNotRecords;
    }

    // Counts the breaks not reported one by one, and takes a file all of
    // whose records break the layout, however few, for a file of another
    // kind (a short text file ends in a cut "record").
    int EndOfDump(int status) {
        if (m_breaks > kWarningsShown) {
            Complain(m_command, m_shown,
                     std::to_string(m_breaks - kWarningsShown) +
                         " more records break the record layout");
        }
        if (status == kExitNotRecords || m_listed == 0 || m_breaksInARow < m_listed) {
            return status;
        }
        Complain(m_command, m_shown,
                 "not a file of counted string records: no record keeps the layout (" +
                     std::to_string(m_listed) + " read)");
        return kExitNotRecords;
    }

    const std::string& m_command;
    const std::string& m_name;
    const std::string& m_shown;
    Listing m_listing;
    CFile m_records;          // read with FILE_ReadCString
    CFile m_fields;           // read with FILE_Read, in step with m_records
    uint64_t m_position = 0;  // where the next record starts
    char m_body[kLargestBody] = {};
    uint32_t m_breaks = 0;
    uint32_t m_breaksInARow = 0;
    uint32_t m_listed = 0;
};

// Finds the name under which the dump opens `name` twice: its own for a
// regular file, else that of a copy of what one opener reads from it.
int NameToDump(const std::string& command, const std::string& name, SpooledInput& spooled,
               std::string& dumped) {
    CFile input;
    if (const int failed = OpenForReading(command, input, name)) {
        return failed;
    }
    int status = kExitSuccess;
    if (IsRegularFile(input)) {
        dumped = name;
    } else {
        status = spooled.Copy(input);
        dumped = spooled.Name();
    }
    return CloseFile(command, input, ShownName(name), status);
}

int Dump(Arguments& args) {
    Listing listing;
    listing.json = args.TakeFlag("--json");
    listing.utf8 = args.TakeFlag("--utf8");
    const std::string name = args.Positionals(1, 1)[0];
    const std::string shown = ShownName(name);
    SpooledInput spooled(args.Command(), shown);
    std::string dumped;
    if (const int failed = NameToDump(args.Command(), name, spooled, dumped)) {
        return failed;
    }
    const int status = RecordDump(args.Command(), dumped, shown, listing).Run();
    return FinishOutput(args.Command(), status);
}

// The texts to pack: the arguments, or the lines of standard input.
std::vector<std::string> TextsToPack(const std::string& command, std::vector<std::string> words) {
    if (!words.empty()) {
        return words;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.find('\0') != std::string::npos) {
            Complain(command, "standard input",
                     "line " + std::to_string(lines.size() + 1) +
                         " holds a zero byte: its text ends there");
            line.resize(std::strlen(line.c_str()));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

int WriteRecords(const std::string& command, CFile& file, const std::string& name,
                 const std::vector<std::string>& texts) {
    for (size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].size() > size_t{ORVIK_RECORD_MAX_TEXT}) {
            Complain(command, name,
                     "text " + std::to_string(i + 1) + " has " + std::to_string(texts[i].size()) +
                         " bytes: a record keeps its first " +
                         std::to_string(ORVIK_RECORD_MAX_TEXT));
        }
        if (char* message = FILE_WriteCString(&file, texts[i].c_str())) {
            return LibraryFailure(command, name, message);
        }
    }
    return kExitSuccess;
}

int Pack(Arguments& args) {
    const bool append = args.TakeFlag("--append");
    std::vector<std::string> words = args.Positionals(1, SIZE_MAX);
    const std::string name = words.front();
    words.erase(words.begin());
    const std::vector<std::string> texts = TextsToPack(args.Command(), std::move(words));

    CFile file;
    if (const int failed = OpenForWriting(args.Command(), file, name, !append)) {
        return failed;
    }
    int status = kExitSuccess;
    if (char* message = append ? FILE_SeekToEnd(&file, nullptr) : nullptr) {
        status = LibraryFailure(args.Command(), name, message);
    } else {
        status = WriteRecords(args.Command(), file, name, texts);
    }
    return CloseFile(args.Command(), file, name, status);
}

}  // namespace

const char* const kRecordsHelp =
    "Usage: orvikfile records dump FILE [--json] [--utf8]\n"
    "       orvikfile records pack OUT [--append] [TEXT ...]\n"
    "\n"
    "A record file holds counted string records one after another: a signed\n"
    "32-bit little-endian length L, then L bytes of text with its terminating\n"
    "zero. Texts of up to 512 bytes are kept whole.\n"
    "\n"
    "records dump FILE lists the records of FILE (- for standard input) as\n"
    "FILE_ReadCString reads them, one to a line: the index (from 0), the\n"
    "length field, and the text, separated by tabs; tab, LF, CR and backslash\n"
    "appear as \\t \\n \\r \\\\, other control bytes as \\xHH, and every other\n"
    "byte as it is. With --json each line is a JSON object\n"
    "  {\"index\":0,\"length\":4,\"text\":\"abc\"}\n"
    "whose text escapes control bytes as \\u00XX and takes each byte from 0x80\n"
    "on as the Latin-1 character of its value (\\u0080 to \\u00ff), so the exact\n"
    "bytes come back by encoding the text as Latin-1.\n"
    "With --utf8 texts are read as UTF-8 instead: a valid UTF-8 sequence is\n"
    "written as it is, and a byte outside one as \\xHH (as U+FFFD with\n"
    "--json), so the output is valid UTF-8.\n"
    "A record that FILE_WriteCString cannot have written (a negative length\n"
    "field, one above 513, a text without its zero or with a zero inside) is\n"
    "listed and reported on stderr, the first 10 one by one; after a length\n"
    "field above 513 the next record is read from inside the rest of its body,\n"
    "as FILE_ReadCString does. After 4 such records in a row the dump takes\n"
    "FILE for a file of another kind and gives up with exit status 3; a file\n"
    "none of whose records keeps the layout ends with exit status 3 too.\n"
    "A last record cut short by the end of the file is listed with what came\n"
    "of its text (and \"truncated\":true with --json), reported on stderr, and\n"
    "ends the listing with exit status 11; a length field cut short likewise,\n"
    "without a listed line. FILE is read by two openers side by side (one\n"
    "for the texts, one for the length fields), so a FILE that is no regular\n"
    "file (standard input, a pipe such as /dev/stdin or <(...), a FIFO, a\n"
    "device) is first copied into a temporary file in $TMPDIR (else /tmp),\n"
    "which is removed at the end. A copy stops at 4 GiB, as far as the\n"
    "library's file positions reach.\n"
    "\n"
    "records pack OUT writes each TEXT as one record with FILE_WriteCString,\n"
    "or, without TEXT, each line of standard input (LF or CR LF ends a line).\n"
    "OUT is emptied first, unless --append is given. A text longer than 512\n"
    "bytes is stored cut as the format demands (the reader gets its first 512\n"
    "bytes) and a warning says so; a zero byte in an input line ends its text\n"
    "and is warned about too.\n"
    "\n"
    "Exit status: 0 on success; 1 when FILE cannot be copied; 3 for a file\n"
    "that is not a record file; 11 for a record cut short; else the\n"
    "library's return code (e.g. 13 when a file cannot be opened, 12 when\n"
    "reading fails); 2 for a usage error.\n";

int RunRecords(Arguments& args) {
    const std::string action = args.TakeAction({"dump", "pack"});
    if (action == "dump") {
        return Dump(args);
    }
    if (action == "pack") {
        return Pack(args);
    }
    throw UsageError("missing action: dump or pack");
}

}  // namespace orvikfile
