#include "OrvikFILE_Lib.h"

// 0 on every failure: only the return code tells an empty file (0) from a
// failure (4 or 15).
uint32_t FILE_Length(CFile* file) {
    uint32_t length = 0;
    FILE_GetLength(file, &length);
    return length;
}
