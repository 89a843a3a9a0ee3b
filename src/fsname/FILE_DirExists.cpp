#include "OrvikFILE_Lib.h"

// Any entry answers, a plain file as well as a directory.
int32_t FILE_DirExists(const char* name) { return FILE_FileExists(name); }
