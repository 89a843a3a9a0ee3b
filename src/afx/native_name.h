// How a name handed in by a host becomes a name for the operating system,
// and how an open file's full path is formed. Every by-name operation of the
// platform classes goes through here.
#ifndef ORVIK_AFX_NATIVE_NAME_H
#define ORVIK_AFX_NATIVE_NAME_H

#include <string>

namespace orvik::afx {

// The name to hand to the operating system for `name` (null is empty).
std::string NativeName(const char* name);

// The form in which a name on disk is handed back to a host (the full path
// of an open file, the executable's path, a chosen folder). Handing it in
// again through NativeName reaches the same entry.
std::string HostName(const std::string& native);

// `native` made absolute against the current directory, with empty and "."
// components dropped. ".." stays: on a system with symbolic links only the
// kernel knows where it leads.
std::string FullPath(const std::string& native);

// The last component of a path.
std::string LastComponent(const std::string& path);

}  // namespace orvik::afx

#endif  // ORVIK_AFX_NATIVE_NAME_H
