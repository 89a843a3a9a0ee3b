// Existence by name: FILE_FileExists and FILE_DirExists.
#include "OrvikFILE_Lib.h"

// The name goes to the status query unchanged: a null or blank name is
// simply a name that no entry has.
int32_t FILE_FileExists(const char* name) {
    CFileStatus status{};
    return CFile::GetStatus(name, status);
}

// Any entry answers, a plain file as well as a directory.
int32_t FILE_DirExists(const char* name) {
    return FILE_FileExists(name);
}
