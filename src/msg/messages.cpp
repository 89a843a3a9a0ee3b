// Message texts and the per-thread text and path buffers.
#include <cstdio>

#include "OrvikFILE_Codes.h"
#include "OrvikMSG_Lib.h"

namespace {

// Room for a text of the file library; the table's texts are shorter.
constexpr int kTextRoom = 96;

struct Message {
    int32_t number;
    char text[kTextRoom];  // writable storage: callers receive char*
};

// One distinct text per number, so that a caller can tell them apart by
// comparing texts: the file library's list, written once in its header.
#define ORVIK_MESSAGE_ENTRY(name, value, text) {ORVIK_MSG_##name, text},
#define ORVIK_CAUSE_MESSAGE_ENTRY(cause, name, value, text) {ORVIK_MSG_##name, text},
// clang-format off
Message g_messages[] = {
    ORVIK_FILE_MESSAGES(ORVIK_MESSAGE_ENTRY)
    ORVIK_FILE_CAUSE_MESSAGES(ORVIK_CAUSE_MESSAGE_ENTRY)
};
// clang-format on
#undef ORVIK_MESSAGE_ENTRY
#undef ORVIK_CAUSE_MESSAGE_ENTRY

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

char* MSG_GetStr4Text(void) {
    return t_textBuffer;
}

uint32_t MSG_MaxChars4Text(void) {
    return kTextCapacity;
}

char* MSG_GetStr4Path(void) {
    return t_pathBuffer;
}

int32_t MSG_MaxChars4Path(void) {
    return kPathChars;
}

}  // extern "C"
