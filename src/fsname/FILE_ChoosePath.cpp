#include <cstring>

#include "OrvikAfx.h"
#include "OrvikFILE_Lib.h"
#include "OrvikShell.h"

namespace {

constexpr const char* kDefaultTitle = "Choose a Directory";
constexpr size_t kStatusWidth = 35;  // the longest status text shown whole
constexpr size_t kStatusKept = 32;   // bytes of a longer path shown before "..."
constexpr size_t kScratchSize = MAX_PATH + 1;

// The host's own window, else its thread's main window, else the desktop.
HWND ChooseOwner(CWnd* owner) {
    if (owner != nullptr && owner->m_hWnd != nullptr) {
        return owner->m_hWnd;
    }
    if (CWinThread* thread = AfxGetThread()) {
        CWnd* mainWindow = thread->GetMainWnd();
        if (mainWindow != nullptr && mainWindow->m_hWnd != nullptr) {
            return mainWindow->m_hWnd;
        }
    }
    return GetDesktopWindow();
}

// Puts the selected folder's path in the status line, cut to fit it. An
// item without a file-system path, or no memory, leaves the line as it was.
void ShowSelectionInStatus(HWND browser, LPCITEMIDLIST selection) {
    char* scratch = static_cast<char*>(CoTaskMemAlloc(kScratchSize));
    if (scratch == nullptr) {
        return;
    }
    if (SHGetPathFromIDList(selection, scratch) != FALSE) {
        if (std::strlen(scratch) > kStatusWidth) {
            for (size_t i = kStatusKept; i < kStatusWidth; ++i) {
                scratch[i] = '.';
            }
            scratch[kStatusWidth] = '\0';
        }
        SendMessage(browser, BFFM_SETSTATUSTEXTA, TRUE, reinterpret_cast<LPARAM>(scratch));
    }
    CoTaskMemFree(scratch);
}

// Called by the browser while it is open: preselects the initial path
// (lpData) once it has opened, and follows the selection in the status line.
int BrowseCallbackProc(HWND browser, UINT notification, LPARAM lParam, LPARAM lpData) {
    if (notification == BFFM_INITIALIZED) {
        SendMessage(browser, BFFM_SETSELECTIONA, TRUE, lpData);
    } else if (notification == BFFM_SELCHANGED && lParam != 0) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the notification carries the item list
        ShowSelectionInStatus(browser, reinterpret_cast<LPCITEMIDLIST>(lParam));
    }
    return 0;
}

// Gives the chosen item list back to the shell's allocator. Without the
// allocator the list stays unreleased; the choice is made all the same.
void ReleaseItemList(LPITEMIDLIST chosen) {
    IMalloc* allocator = nullptr;
    if (SHGetMalloc(&allocator) != S_OK) {  // S_OK always hands out an allocator
        return;
    }
    allocator->Free(chosen);
    allocator->Release();
}

}  // namespace

int32_t FILE_ChoosePath(char* path, const char* initial, const char* title, CWnd* owner) {
    if (path == nullptr) {
        return ORVIK_CHOOSE_NULL_PATH;
    }
    BROWSEINFO info{};
    info.hwndOwner = ChooseOwner(owner);
    info.pidlRoot = nullptr;
    info.pszDisplayName = path;
    info.lpszTitle = title != nullptr ? title : kDefaultTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    // Without an initial path the browser runs with no callback at all.
    if (initial != nullptr) {
        info.lpfn = BrowseCallbackProc;
        info.lParam = reinterpret_cast<LPARAM>(initial);
    }

    LPITEMIDLIST chosen = SHBrowseForFolder(&info);
    if (chosen == nullptr) {
        return ORVIK_CHOOSE_CANCELLED;
    }
    const int32_t result = SHGetPathFromIDList(chosen, path) != FALSE ? 0 : ORVIK_CHOOSE_NO_PATH;
    ReleaseItemList(chosen);
    return result;
}
