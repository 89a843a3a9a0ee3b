// Counted string records: FILE_WriteCString and FILE_ReadCString. Both
// travel through FILE_Write and FILE_Read and set no return code of their
// own: a file object that is missing or not open is refused with the message
// alone, and for an open one the code is that of the last transfer made.
#include <cstring>

#include "OrvikFILE_Lib.h"
#include "fileobj/counted_record.h"
#include "report/report.h"

namespace {

using namespace orvik;

// The record buffer, one per thread: every call reads into its thread's
// buffer and hands it out, all zero when the thread starts. Its text stays
// until the same thread's next call, so threads that each read their own
// records never see each other's texts.
thread_local char t_recordText[record::kLargestBody];

// L for a text: its length and zero, or the largest body for a text longer
// than a record keeps. Only whether it is longer matters, so the text is
// read no further than that, whatever its length.
int32_t RecordLength(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    const void* zero = std::memchr(text, '\0', record::kLargestBody);
    if (zero == nullptr) {
        return record::kLargestBody;
    }
    const auto length = static_cast<int32_t>(static_cast<const char*>(zero) - text);
    return length == 0 ? 0 : length + 1;
}

// The field and the body are two writes, so a failed body write leaves the
// field in the file.
char* WriteRecord(CFile* file, const char* text) {
    const int32_t length = RecordLength(text);
    unsigned char field[record::kFieldBytes];
    record::EncodeLength(length, field);
    char* const message = FILE_Write(file, field, record::kFieldBytes);
    if (message != nullptr || length == 0) {
        return message;
    }
    return FILE_Write(file, text, static_cast<uint32_t>(length));
}

// Reads exactly `count` bytes, asking again after a short read (a pipe may
// deliver a record in pieces). The end of the file inside them is the
// failure of the read that met it.
char* ReadWhole(CFile* file, void* into, uint32_t count, uint32_t& got) {
    got = 0;
    while (got < count) {
        uint32_t status = 0;
        char* const next = static_cast<char*>(into) + got;
        if (char* const message = FILE_Read(file, next, count - got, &status)) {
            return message;
        }
        got += status - ORVIK_STATUS_TRANSFERRED;
    }
    return nullptr;
}

char* ReadRecord(CFile* file) {
    unsigned char field[record::kFieldBytes] = {};
    uint32_t got = 0;
    if (char* const message = ReadWhole(file, field, record::kFieldBytes, got)) {
        return message;  // a field cut short hands back the empty text
    }
    int32_t length = record::DecodeLength(field);
    if (length < 1) {
        return nullptr;
    }
    if (length > record::kLongestText) {
        length = record::kLargestBody;  // the rest of a longer body stays unread
    }
    if (char* const message = ReadWhole(file, t_recordText, static_cast<uint32_t>(length), got)) {
        // A body cut short hands back the bytes that came, terminated, with
        // the end-of-file failure: never taken for a whole record.
        t_recordText[got] = '\0';
        return message;
    }
    t_recordText[record::kLongestText] = '\0';
    t_recordText[length - 1] = '\0';
    return nullptr;
}

bool NoOpenFile(const CFile* file) {
    return file == nullptr || !report::IsOpen(*file);
}

}  // namespace

char* FILE_WriteCString(CFile* file, const char* text) {
    if (NoOpenFile(file)) {
        return MSG_GetStr(ORVIK_MSG_NO_FILE_OBJECT);
    }
    return WriteRecord(file, text);
}

// A record cut short by the end of the file is a failure, so it is never
// mistaken for a whole one; the record buffer then holds the body bytes that
// did arrive.
char* FILE_ReadCString(CFile* file, char** text) {
    t_recordText[0] = '\0';
    char* message = nullptr;
    if (NoOpenFile(file)) {
        message = MSG_GetStr(ORVIK_MSG_NO_FILE_OBJECT);
    } else {
        message = ReadRecord(file);
    }
    if (text) {
        *text = t_recordText;
    }
    return message;
}
