// How the platform classes throw a file exception.
#ifndef ORVIK_AFX_FILE_EXCEPTION_H
#define ORVIK_AFX_FILE_EXCEPTION_H

#include "OrvikAfx.h"

namespace orvik::afx {

// Throws new CFileException(cause, osError) naming `fileName`, which it
// shares rather than copies; when memory for the exception runs out, the
// process's spare exception (see AfxThrowFileException).
[[noreturn]] void ThrowFileException(int cause, LONG osError, const CString& fileName);

}  // namespace orvik::afx

#endif  // ORVIK_AFX_FILE_EXCEPTION_H
