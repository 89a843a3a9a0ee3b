// OrvikFILE_Lib: file utilities that report by plain values.
//
// Every function hands back its outcome as values, never as an exception:
//
//  - The file-object and remove functions return a result message: null on
//    success, else a text of the message service (OrvikMSG_Lib), which the
//    caller neither changes nor frees. They set the return code
//    (GEN_GetRetCode of OrvikGEN_Lib): 0 first, then one failure code:
//      4 no file object        5 name too long       6 close failed
//      7 null pointer argument 8 delete failed      10 set length failed
//     11 end of file          12 read failed        13 open failed
//     14 write failed         15 get length failed  16 seek failed
//  - FILE_Read and FILE_ReadStr also fill an optional transfer status:
//    1 no file object, 2 end of file, 3 read failed, 4 no buffer,
//    100 + n success with n bytes.
//  - The by-name and path-text functions report by their integer result
//    and leave the return code alone (FILE_ShrinkName clears it).
//
// Only CFileException pointers thrown by a file object are caught, turned
// into a message and released; any other exception passes to the caller.
// The return code and the message service's buffers are kept per thread.
#ifndef ORVIK_FILE_LIB_H
#define ORVIK_FILE_LIB_H

#include <stdint.h>

#include "OrvikAfx.h"
#include "OrvikFILE_Codes.h"

#if defined(__GNUC__)
#define ORVIK_FILE_API __attribute__((visibility("default")))
#else
#define ORVIK_FILE_API
#endif

extern "C" {

// --- File exception messages -------------------------------------------------
// The message text for a file exception: causes 0 to 14 give the texts of
// 52002 to 52016; any other cause the exception's own GetErrorMessage text
// (in the message service's text buffer), else the text of 52017. A null
// exception gives the text of 52017. Sets no return code, releases nothing.
ORVIK_FILE_API char* FILE_ExceptionMsg(CFileException* e);

// --- File objects --------------------------------------------------------------
// mode 0 reads (the file must exist); mode bits 1 or 2 read and write,
// creating a missing file. A nonzero `create` empties an existing file.
ORVIK_FILE_API char* FILE_Open(CFile* file, const char* name, uint32_t mode, int32_t create);
ORVIK_FILE_API char* FILE_Close(CFile* file);
ORVIK_FILE_API char* FILE_Remove4Object(CFile* file);

ORVIK_FILE_API char* FILE_Read(CFile* file, void* buffer, uint32_t count, uint32_t* status);
ORVIK_FILE_API char* FILE_Write(CFile* file, const void* buffer, uint32_t count);
ORVIK_FILE_API char* FILE_WriteStr(CFile* file, const char* text);
ORVIK_FILE_API char* FILE_Seek(CFile* file, int32_t offset, uint32_t origin);
ORVIK_FILE_API char* FILE_SeekToBegin(CFile* file);
ORVIK_FILE_API char* FILE_SeekToEnd(CFile* file, uint32_t* position);
ORVIK_FILE_API char* FILE_SetLength(CFile* file, uint32_t length);
ORVIK_FILE_API char* FILE_GetLength(CFile* file, uint32_t* length);
ORVIK_FILE_API uint32_t FILE_Length(CFile* file);

// One line, without its LF or CR LF, into `buffer` of max + 1 bytes.
ORVIK_FILE_API char* FILE_ReadStr(CFile* file, char* buffer, uint32_t max, uint32_t* status);

// Counted string records: a 4-byte little-endian length, then the text.
ORVIK_FILE_API char* FILE_WriteCString(CFile* file, const char* text);
ORVIK_FILE_API char* FILE_ReadCString(CFile* file, char** text);

// The name (or full path) into `dest` of limit + 1 bytes, or into the
// message service's path buffer when `dest` is null.
ORVIK_FILE_API char* FILE_GetName(CFile* file, char* dest, int32_t limit);
ORVIK_FILE_API char* FILE_GetPath(CFile* file, char* dest, int32_t limit);

// --- File system by name -------------------------------------------------------
ORVIK_FILE_API int32_t FILE_FileExists(const char* name);  // nonzero: file or directory
ORVIK_FILE_API int32_t FILE_DirExists(const char* name);   // the same as FILE_FileExists
ORVIK_FILE_API char* FILE_Remove4Name(const char* name);
// 0 created; -1 null name; -2 blank name; -3 access denied or exists;
// -4 the path to it does not exist; -5 any other failure.
ORVIK_FILE_API int32_t FILE_MkDir(const char* name);
// 0 changed; -1 null name; -2 blank name; -3 refused.
ORVIK_FILE_API int32_t FILE_Move2Dir(const char* name);
// The directory above the executable's directory, into `buffer` of at
// least 259 bytes; its length, or -1 null buffer, -2 no name, -3 no cut.
ORVIK_FILE_API int32_t FILE_GetModulePathName(char* buffer);
// Lets the user choose a directory; 0 chosen, -1 null path buffer,
// -2 cancelled, -3 no file-system path. `path` holds MAX_PATH bytes.
ORVIK_FILE_API int32_t FILE_ChoosePath(char* path, const char* initial, const char* title,
                                       CWnd* owner);

// --- Path text -----------------------------------------------------------------
ORVIK_FILE_API int32_t FILE_FindSuffix(const char* name, int32_t limitBase);
ORVIK_FILE_API int32_t FILE_NewSuffix(char* name, const char* suffix);
ORVIK_FILE_API int32_t FILE_PathFile(char* dest, char* dir, char* file);
ORVIK_FILE_API int32_t FILE_ShrinkName(char* dest, char* src, int32_t maxChars);

}  // extern "C"

#endif  // ORVIK_FILE_LIB_H
