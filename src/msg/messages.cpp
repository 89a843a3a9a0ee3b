// Message texts and the per-thread text and path buffers.
#include <cstdio>

#include "OrvikMSG_Lib.h"

namespace {

// Room for a text of the file library; the table's texts are shorter.
constexpr int kTextRoom = 96;

struct Message {
    int32_t number;
    char text[kTextRoom];  // writable storage: callers receive char*
};

// One distinct text per number, so that a caller can tell them apart by
// comparing texts. 52002 to 52016 describe the causes of a file exception
// (52002 + cause).
Message g_messages[] = {
    {52000, "No file object was given, or the file object is not open."},
    {52001, "A required argument is missing (null pointer)."},
    {52002, "The file operation failed without reporting a cause."},
    {52003, "An unspecified error occurred while accessing the file."},
    {52004, "The file was not found."},
    {52005, "All or part of the path is invalid."},
    {52006, "Too many files are open."},
    {52007, "Access to the file was denied."},
    {52008, "The file handle is invalid."},
    {52009, "The current working directory cannot be removed."},
    {52010, "The directory is full: no more entries can be made."},
    {52011, "The file position could not be set."},
    {52012, "A hardware input/output error occurred."},
    {52013, "The file is in use by another opener (sharing violation)."},
    {52014, "A locked region of the file was accessed (lock violation)."},
    {52015, "The disk is full."},
    {52016, "The end of the file was reached."},
    {52017, "An unknown file error occurred."},
    {52200, "The name is too long for its destination."},
};

// Capacities chosen for Linux: a text buffer for an exception's own message
// with a long path in it, and a path buffer that takes PATH_MAX (4096) less
// its zero, the longest path that the kernel accepts.
constexpr uint32_t kTextCapacity = 4352;
constexpr int32_t kPathChars = 4095;

thread_local char t_textBuffer[kTextCapacity];
thread_local char t_pathBuffer[kPathChars + 1];
thread_local char t_unknownText[kTextRoom];

}  // namespace

extern "C" {

char* MSG_GetStr(int32_t number) {
    for (Message& message : g_messages) {
        if (message.number == number) {
            return message.text;
        }
    }
    std::snprintf(t_unknownText, sizeof t_unknownText, "Unknown message number %d.",
                  static_cast<int>(number));
    return t_unknownText;
}

char* MSG_GetStr4Text(void) { return t_textBuffer; }

uint32_t MSG_MaxChars4Text(void) { return kTextCapacity; }

char* MSG_GetStr4Path(void) { return t_pathBuffer; }

int32_t MSG_MaxChars4Path(void) { return kPathChars; }

}  // extern "C"
