// How a name handed in by a host becomes a name for the operating system,
// and how a name on disk is handed back. Every by-name operation of the
// platform classes goes through here.
//
// Names come in the host's own form or as POSIX names: backslashes and
// slashes both separate components, a drive prefix ("C:") stands for the
// directory that the drive is mapped onto (AfxMapDrive), "." and ".." are
// resolved as text inside it, and a component whose case does not match the
// disk finds the entry that matches it without regard to case (name_fold.h,
// through a directory's folded index, folded_index.h). include/OrvikAfx.h
// describes the rules in full.
#ifndef ORVIK_AFX_NATIVE_NAME_H
#define ORVIK_AFX_NATIVE_NAME_H

#include <string>

namespace orvik::afx {

// The name to hand to the operating system for `name` (null is empty).
std::string NativeName(const char* name);

// The form in which a name on disk is handed back to a host (the full path
// of an open file, the executable's path, a chosen folder): a drive letter,
// a colon and backslashes. Handing it in again through NativeName reaches
// the same entry.
std::string HostName(const std::string& native);

// `native` made absolute against the current directory, with empty and "."
// components dropped and ".." resolved as text, never above the root. The
// current directory is the kernel's own (getcwd), so a leading ".." of a
// relative name lands where the kernel would take it.
std::string FullPath(const std::string& native);

// The last component of a path in either form.
std::string LastComponent(const std::string& path);

// Maps drive `letter` onto `directory` (any name NativeName accepts, made
// absolute now); null restores the file-system root. False for a letter
// that is not an ASCII letter or an empty directory.
bool MapDrive(char letter, const char* directory);

}  // namespace orvik::afx

#endif  // ORVIK_AFX_NATIVE_NAME_H
