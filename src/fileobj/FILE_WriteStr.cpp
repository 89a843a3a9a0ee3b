#include "OrvikFILE_Lib.h"
#include "platform/platform.h"

// The text without its terminating zero; a null text reaches FILE_Write as a
// null buffer and is reported there.
char* FILE_WriteStr(CFile* file, const char* text) {
    const int32_t length = orvik::platform::TextLength(text);
    return FILE_Write(file, text, static_cast<uint32_t>(length));
}
