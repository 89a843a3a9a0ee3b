#include "browser.h"

namespace orvik::platform {

CWinThread* CurrentThread() {
    return AfxGetThread();
}

HWND DesktopWindow() {
    return GetDesktopWindow();
}

LPITEMIDLIST BrowseForFolder(BROWSEINFO* info) {
    return SHBrowseForFolder(info);
}

bool PathFromItemList(LPCITEMIDLIST item, char* path) {
    return SHGetPathFromIDList(item, path) != FALSE;
}

HRESULT ShellAllocator(IMalloc** allocator) {
    return SHGetMalloc(allocator);
}

LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessage(window, message, wParam, lParam);
}

void* TaskAlloc(size_t size) {
    return CoTaskMemAlloc(size);
}

void TaskFree(void* block) {
    CoTaskMemFree(block);
}

}  // namespace orvik::platform
