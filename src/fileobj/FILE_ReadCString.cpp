#include "OrvikFILE_Lib.h"
#include "fileobj/counted_record.h"
#include "report/report.h"

namespace {

using namespace orvik;

// The record buffer, one per thread: every call reads into its thread's
// buffer and hands it out, all zero when the thread starts. Its text stays
// until the same thread's next call, so threads that each read their own
// records never see each other's texts.
thread_local char g_record[record::kLargestBody];

// Reads exactly `count` bytes, asking again after a short read (a pipe may
// deliver a record in pieces). The end of the file inside them is the
// failure of the FILE_Read that met it: text of 52016, return code 11.
char* ReadWhole(CFile* file, void* into, uint32_t count, uint32_t& got) {
    got = 0;
    while (got < count) {
        uint32_t status = 0;
        char* const next = static_cast<char*>(into) + got;
        if (char* message = FILE_Read(file, next, count - got, &status)) {
            return message;
        }
        got += status - report::kStatusTransferred;
    }
    return nullptr;
}

char* ReadRecord(CFile* file) {
    unsigned char field[record::kFieldBytes] = {};
    uint32_t got = 0;
    if (char* message = ReadWhole(file, field, record::kFieldBytes, got)) {
        return message;  // a field cut short hands back the empty text
    }
    int32_t length = record::DecodeLength(field);
    if (length < 1) {
        return nullptr;
    }
    if (length > record::kLongestText) {
        length = record::kLargestBody;  // the rest of a longer body stays unread
    }
    if (char* message = ReadWhole(file, g_record, static_cast<uint32_t>(length), got)) {
        // A body cut short hands back the bytes that came, terminated, with
        // the end-of-file failure: never taken for a whole record.
        g_record[got] = '\0';
        return message;
    }
    g_record[record::kLongestText] = '\0';
    g_record[length - 1] = '\0';
    return nullptr;
}

}  // namespace

// Sets no return code itself: the FILE_Read calls report. A record cut short
// by the end of the file is a failure (text of 52016, return code 11), so it
// is never mistaken for a whole one; the record buffer then holds the body
// bytes that did arrive.
char* FILE_ReadCString(CFile* file, char** text) {
    g_record[0] = '\0';
    char* message = nullptr;
    if (file == nullptr || !report::IsOpen(file)) {
        message = platform::Message(report::kNoFileObject);
    } else {
        message = ReadRecord(file);
    }
    if (text) {
        *text = g_record;
    }
    return message;
}
