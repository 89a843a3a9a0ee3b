// Counted string records: FILE_WriteCString and FILE_ReadCString. Neither
// clears the return code for a file object that is missing or not open; for
// an open one the code is that of the last transfer made.
#include "OrvikFILE_Lib.h"
#include "fileobj/counted_record.h"
#include "fileobj/transfer.h"
#include "report/report.h"

namespace {

using namespace orvik;
using report::Outcome;

// The one record buffer of the process: every read goes into it and hands
// it out. Callers copy the text before the next call, from any thread.
char g_record[record::kLargestBody];

int32_t RecordLength(uint32_t textLength) {
    if (textLength == 0) {
        return 0;
    }
    return textLength <= static_cast<uint32_t>(record::kLongestText)
               ? static_cast<int32_t>(textLength) + 1
               : record::kLargestBody;
}

// The field and the body are two writes, so a failed body write leaves the
// field in the file.
Outcome WriteRecord(CFile* file, const char* text) {
    const int32_t length = RecordLength(fileobj::TextLength(text));
    unsigned char field[record::kFieldBytes];
    record::EncodeLength(length, field);
    const Outcome written = fileobj::WriteBlock(file, field, record::kFieldBytes);
    if (written.message != nullptr || length == 0) {
        return written;
    }
    return fileobj::WriteBlock(file, text, static_cast<uint32_t>(length));
}

// Reads exactly `count` bytes, asking again after a short read (a pipe may
// deliver a record in pieces). The end of the file inside them is the
// failure of the read that met it.
Outcome ReadWhole(CFile* file, void* into, uint32_t count, uint32_t& got) {
    got = 0;
    while (got < count) {
        uint32_t status = 0;
        char* const next = static_cast<char*>(into) + got;
        const Outcome read = fileobj::ReadBlock(file, next, count - got, status);
        if (read.message != nullptr) {
            return read;
        }
        got += status - ORVIK_STATUS_TRANSFERRED;
    }
    return {};
}

Outcome ReadRecord(CFile* file) {
    unsigned char field[record::kFieldBytes] = {};
    uint32_t got = 0;
    Outcome read = ReadWhole(file, field, record::kFieldBytes, got);
    if (read.message != nullptr) {
        return read;  // a field cut short hands back the empty text
    }
    int32_t length = record::DecodeLength(field);
    if (length < 1) {
        return read;
    }
    if (length > record::kLongestText) {
        length = record::kLargestBody;  // the rest of a longer body stays unread
    }
    read = ReadWhole(file, g_record, static_cast<uint32_t>(length), got);
    if (read.message != nullptr) {
        // A body cut short hands back the bytes that came, terminated, with
        // the end-of-file failure: never taken for a whole record.
        g_record[got] = '\0';
        return read;
    }
    g_record[record::kLongestText] = '\0';
    g_record[length - 1] = '\0';
    return read;
}

bool Refused(const CFile* file) {
    return file == nullptr || !report::IsOpen(file);
}

}  // namespace

char* FILE_WriteCString(CFile* file, const char* text) {
    if (Refused(file)) {
        return MSG_GetStr(ORVIK_MSG_NO_FILE_OBJECT);
    }
    return report::ReportedMessage([&] { return WriteRecord(file, text); });
}

// A record cut short by the end of the file is a failure, so it is never
// mistaken for a whole one; the record buffer then holds the body bytes that
// did arrive.
char* FILE_ReadCString(CFile* file, char** text) {
    g_record[0] = '\0';
    char* message = nullptr;
    if (Refused(file)) {
        message = MSG_GetStr(ORVIK_MSG_NO_FILE_OBJECT);
    } else {
        message = report::ReportedMessage([file] { return ReadRecord(file); });
    }
    if (text) {
        *text = g_record;
    }
    return message;
}
