#include "OrvikAfx.h"
#include "OrvikFILE_Lib.h"

namespace {

constexpr const char* kDefaultTitle = "Choose a Directory";

// The host's own window, else its thread's main window, else none.
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
    return nullptr;
}

}  // namespace

int32_t FILE_ChoosePath(char* path, const char* initial, const char* title, CWnd* owner) {
    if (path == nullptr) {
        return ORVIK_CHOOSE_NULL_PATH;
    }
    switch (AfxBrowseForFolder(ChooseOwner(owner), title != nullptr ? title : kDefaultTitle,
                               initial, path)) {
        case AFX_BROWSE_CHOSEN:
            return 0;
        case AFX_BROWSE_NO_PATH:
            return ORVIK_CHOOSE_NO_PATH;
        default:
            return ORVIK_CHOOSE_CANCELLED;
    }
}
