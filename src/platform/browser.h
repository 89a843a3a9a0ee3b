// The part of the platform layer that the folder chooser reaches: windows,
// threads, the shell's folder browser and its task memory. Like
// platform.h, the one way from the library to these operations.
#ifndef ORVIK_FILE_PLATFORM_BROWSER_H
#define ORVIK_FILE_PLATFORM_BROWSER_H

#include <cstddef>

#include "OrvikAfx.h"
#include "OrvikShell.h"

namespace orvik::platform {

// --- Windows and threads: AfxGetThread and GetDesktopWindow
CWinThread* CurrentThread();
HWND DesktopWindow();

// --- The shell's folder browser: SHBrowseForFolder, SHGetPathFromIDList
// (into MAX_PATH bytes), SHGetMalloc, SendMessage to the browser's window
LPITEMIDLIST BrowseForFolder(BROWSEINFO* info);
bool PathFromItemList(LPCITEMIDLIST item, char* path);
HRESULT ShellAllocator(IMalloc** allocator);
LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// --- Task memory, as CoTaskMemAlloc and CoTaskMemFree
void* TaskAlloc(size_t size);
void TaskFree(void* block);

}  // namespace orvik::platform

#endif  // ORVIK_FILE_PLATFORM_BROWSER_H
