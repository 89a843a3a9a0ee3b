// orvikfile records: list and write files of counted string records.
#include <cstdio>
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

// The record's layout: a signed 32-bit little-endian length field L, then
// L body bytes; a reader takes at most 513 of them.
constexpr uint32_t kFieldBytes = 4;
constexpr int32_t kLongestText = 512;
constexpr int32_t kLargestBody = kLongestText + 1;
constexpr int32_t kCodeEndOfFile = 11;
constexpr uint32_t kStatusRead = 100;  // + the count

constexpr const char* kHelp =
    "Usage: orvikfile records dump FILE [--json]\n"
    "       orvikfile records pack OUT [--append] [TEXT ...]\n"
    "\n"
    "A record file holds counted string records one after another: a signed\n"
    "32-bit little-endian length L, then L bytes of text with its terminating\n"
    "zero. Texts of up to 512 bytes are kept whole.\n"
    "\n"
    "records dump FILE lists the records as FILE_ReadCString reads them, one\n"
    "to a line: the index (from 0), the length field, and the text, separated\n"
    "by tabs; tab, LF, CR and backslash appear as \\t \\n \\r \\\\, other control\n"
    "bytes as \\xHH. With --json each line is a JSON object\n"
    "  {\"index\":0,\"length\":4,\"text\":\"abc\"}\n"
    "whose text escapes control bytes as \\u00XX and takes each byte from 0x80\n"
    "on as the Latin-1 character of its value (\\u0080 to \\u00ff), so the exact\n"
    "bytes come back by encoding the text as Latin-1.\n"
    "A length field above 513 is reported on stderr; as FILE_ReadCString\n"
    "does, the next record is then read from inside the rest of its body.\n"
    "A last record cut short by the end of the file is listed with what came\n"
    "of its text (and \"truncated\":true with --json), reported on stderr, and\n"
    "ends the listing with exit status 11; a length field cut short likewise,\n"
    "without a listed line. FILE is read by two openers side by side (one\n"
    "for the texts, one for the length fields), so it must be a regular file.\n"
    "\n"
    "records pack OUT writes each TEXT as one record with FILE_WriteCString,\n"
    "or, without TEXT, each line of standard input (LF or CR LF ends a line).\n"
    "OUT is emptied first, unless --append is given. A text longer than 512\n"
    "bytes is stored cut as the format demands (the reader gets its first 512\n"
    "bytes) and a warning says so; a zero byte in an input line ends its text\n"
    "and is warned about too.\n"
    "\n"
    "Exit status: 0 on success; 11 for a record cut short; else the library's\n"
    "return code (e.g. 13 when a file cannot be opened); 2 for a usage error.\n";

int32_t DecodeLength(const unsigned char (&field)[kFieldBytes]) {
    uint32_t bits = 0;
    for (uint32_t i = 0; i < kFieldBytes; ++i) {
        bits |= static_cast<uint32_t>(field[i]) << (8 * i);
    }
    return static_cast<int32_t>(bits);
}

uint32_t BodyBytesRead(int32_t length) {
    if (length < 1) {
        return 0;
    }
    return static_cast<uint32_t>(length < kLargestBody ? length : kLargestBody);
}

// One listed line. `truncated` marks a record cut short.
void PrintRecord(bool json, uint32_t index, int32_t length, const char* text, bool truncated) {
    if (json) {
        std::printf("{\"index\":%u,\"length\":%d,\"text\":\"%s\"%s}\n", index, length,
                    EscapeJson(text).c_str(), truncated ? ",\"truncated\":true" : "");
    } else {
        std::printf("%u\t%d\t%s\n", index, length, EscapePlain(text).c_str());
    }
}

// Walks a record file with FILE_ReadCString. The length fields, which the
// listing shows beside the texts, come from a second opener of the same file
// that keeps pace with the first: it reads each field with FILE_Read and
// steps over the body that the reader takes. Both read straight on, so
// neither loses its read-ahead to a seek. The second opener also tells the
// clean end of the file (no byte left for a field) from a record cut short.
class RecordDump {
public:
    RecordDump(const std::string& command, const std::string& name, bool json)
        : m_command(command), m_name(name), m_json(json) {}

    int Run() {
        if (const int failed = OpenForReading(m_command, m_records, m_name)) {
            return failed;
        }
        int status = OpenForReading(m_command, m_fields, m_name);
        if (status == kExitSuccess) {
            status = DumpAll();
            status = CloseFile(m_command, m_fields, m_name, status);
        }
        return CloseFile(m_command, m_records, m_name, status);
    }

private:
    int DumpAll() {
        uint32_t fileLength = 0;
        if (char* message = FILE_GetLength(&m_records, &fileLength)) {
            return LibraryFailure(m_command, m_name, message);
        }
        Progress progress("orvikfile records dump " + m_name, fileLength);
        for (uint32_t index = 0;; ++index) {
            bool atEnd = false;
            if (const int failed = DumpOne(index, atEnd); failed || atEnd) {
                return failed;
            }
            progress.Update(m_position);
        }
    }

    // Reads `count` bytes from the second opener; `got` says how many came
    // before the end of the file. A failure other than the end is reported.
    int ReadFields(void* into, uint32_t count, uint32_t& got) {
        got = 0;
        while (got < count) {
            uint32_t status = 0;
            char* const next = static_cast<char*>(into) + got;
            if (char* message = FILE_Read(&m_fields, next, count - got, &status)) {
                return GEN_GetRetCode() == kCodeEndOfFile
                           ? kExitSuccess
                           : LibraryFailure(m_command, m_name, message);
            }
            got += status - kStatusRead;
        }
        return kExitSuccess;
    }

    // The next length field, and the count of body bytes behind it that the
    // reader will take and that are in the file.
    int NextField(uint32_t index, int32_t& length, uint32_t& bodyInFile, bool& atEnd) {
        unsigned char field[kFieldBytes] = {};
        uint32_t got = 0;
        if (const int failed = ReadFields(field, kFieldBytes, got)) {
            return failed;
        }
        if (got < kFieldBytes) {
            atEnd = got == 0;
            if (!atEnd) {
                Complain(m_command, m_name,
                         "record " + std::to_string(index) +
                             " is cut short: its length field has " + std::to_string(got) +
                             " of 4 bytes");
            }
            return atEnd ? kExitSuccess : kCodeEndOfFile;
        }
        length = DecodeLength(field);
        char body[kLargestBody];
        return ReadFields(body, BodyBytesRead(length), bodyInFile);
    }

    int DumpOne(uint32_t index, bool& atEnd) {
        int32_t length = 0;
        uint32_t bodyInFile = 0;
        if (const int failed = NextField(index, length, bodyInFile, atEnd); failed || atEnd) {
            return failed;
        }
        char* text = nullptr;
        const uint32_t body = BodyBytesRead(length);
        if (char* message = FILE_ReadCString(&m_records, &text)) {
            if (GEN_GetRetCode() != kCodeEndOfFile) {
                return LibraryFailure(m_command, m_name, message);
            }
            PrintRecord(m_json, index, length, text, true);
            Complain(m_command, m_name,
                     "record " + std::to_string(index) +
                         " is cut short: " + std::to_string(bodyInFile) + " of its " +
                         std::to_string(body) + " body bytes are in the file: " + message);
            return kCodeEndOfFile;
        }
        PrintRecord(m_json, index, length, text, false);
        if (length > kLargestBody) {
            Complain(m_command, m_name,
                     "record " + std::to_string(index) + " has a length field of " +
                         std::to_string(length) +
                         ", above 513: the next record is read from inside its body");
        }
        m_position += kFieldBytes + body;
        return kExitSuccess;
    }

    const std::string& m_command;
    const std::string& m_name;
    bool m_json;
    CFile m_records;          // read with FILE_ReadCString
    CFile m_fields;           // read with FILE_Read, in step with m_records
    uint64_t m_position = 0;  // where the next record starts
};

int Dump(Arguments& args) {
    const bool json = args.TakeFlag("--json");
    const std::string name = args.Positionals(1, 1)[0];
    const int status = RecordDump(args.Command(), name, json).Run();
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
        if (texts[i].size() > static_cast<size_t>(kLongestText)) {
            Complain(command, name,
                     "text " + std::to_string(i + 1) + " has " + std::to_string(texts[i].size()) +
                         " bytes: a record keeps its first 512");
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

int RunRecords(Arguments& args) {
    const std::string action = args.TakeAction({"dump", "pack"});
    if (ShowHelp(args, kHelp)) {
        return kExitSuccess;
    }
    if (action == "dump") {
        return Dump(args);
    }
    if (action == "pack") {
        return Pack(args);
    }
    throw UsageError("missing action: dump or pack");
}

}  // namespace orvikfile
