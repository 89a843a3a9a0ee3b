// The thin layer through which the library reaches everything outside it:
// the return-code, message and string services, the platform's by-name file
// operations and the C runtime's directory calls. The four families use
// only this header (and the host's file object, through its virtual
// operations), so that what they ask of the platform is all in one place.
#ifndef ORVIK_FILE_PLATFORM_H
#define ORVIK_FILE_PLATFORM_H

#include <cstdint>

#include "OrvikAfx.h"

namespace orvik::platform {

// --- Return-code service
void SetRetCode(int32_t code);

// --- Message service
char* Message(int32_t number);
char* TextBuffer();
uint32_t TextCapacity();  // terminating zero included
char* PathBuffer();
int32_t PathCapacity();  // characters; the buffer holds one more

// --- String service
char* Format(char* dest, const char* src, int32_t one, int32_t mode, int32_t count);
uint32_t UpperChar(uint32_t ch);
char* LastOccurrence(const char* text, uint32_t ch);
int32_t StripBlanks(char* text);
bool IsBlank(const char* text);

// --- Texts, as the platform's lstrlenA and lstrcpyA: a null text is empty.
int32_t TextLength(const char* text);
char* CopyText(char* dest, const char* src);

// --- By-name file operations of the platform classes
BOOL QueryStatus(const char* name);  // CFile::GetStatus: nonzero for a file or directory
void RemoveFile(const char* name);   // throws CFileException*

// --- The running program
// The full name of the process's executable file, as the platform classes
// hand it to a host (AfxGetModuleFileName: backslashes for separators). Its
// length, or 0 when there is none or it does not fit into `size` bytes with
// its terminating zero.
uint32_t ExecutableName(char* buffer, uint32_t size);

// --- Directories, as the C runtime's _mkdir and _chdir
enum class DirRefusal { none, accessDenied, alreadyExists, pathNotFound, other };
DirRefusal MakeDirectory(const char* name);
bool ChangeDirectory(const char* name);

}  // namespace orvik::platform

#endif  // ORVIK_FILE_PLATFORM_H
