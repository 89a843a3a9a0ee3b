// OrvikShell: the shell's folder browser, as part of the platform classes
// (OrvikAfx).
//
// The single-byte forms of the shell operations that the folder chooser is
// written against, with their names and types: SHBrowseForFolder and its
// BROWSEINFO record, item identifier lists, SHGetPathFromIDList,
// SHGetMalloc and the IMalloc allocator, SendMessage to a browser window,
// GetDesktopWindow, and the task memory of CoTaskMemAlloc.
//
// On Linux the browser is a GTK 3 folder dialog in a module of its own,
// libOrvikAfxGtk.so, that OrvikAfx loads the first time a browser is run:
// from the directory that holds libOrvikAfx.so, or from the file that the
// environment variable ORVIK_BROWSER_MODULE names. Neither OrvikAfx nor a
// library above it links GTK. Without the module, or when no display can
// be opened, SHBrowseForFolder returns null at once, as a cancelled browse.
//
// Window handles: a host that wants the dialog owned by one of its windows
// passes its GTK toplevel window (GtkWindow*, cast to HWND) in
// CWnd::m_hWnd. A handle that is not a toplevel GtkWindow of the process,
// and the desktop's handle that GetDesktopWindow gives (never null), leave
// the dialog without a parent.
//
// The browser runs on the thread that calls SHBrowseForFolder, and the GTK
// dialog only ever on the thread that first ran it: a browse from another
// thread returns null.
#ifndef ORVIK_SHELL_H
#define ORVIK_SHELL_H

#include <stddef.h>
#include <stdint.h>

#include "OrvikAfx.h"

#define WM_USER 0x0400

// BROWSEINFO::ulFlags
#define BIF_RETURNONLYFSDIRS 0x0001  // only file-system folders can be chosen
#define BIF_STATUSTEXT 0x0004        // the browser has a status line

// Notifications to a browse callback (its uMsg)
#define BFFM_INITIALIZED 1  // the browser has opened; lParam 0
#define BFFM_SELCHANGED 2   // the selection moved; lParam the item list, or null

// Messages to a browser window
#define BFFM_SETSTATUSTEXTA (WM_USER + 100)  // lParam a text for the status line
#define BFFM_SETSELECTIONA (WM_USER + 102)   // wParam TRUE: lParam a path; FALSE: an item list

// An item identifier list: the shell's name of one item. Opaque; on Linux it
// holds the item's path, or only a display name for an item that is no
// file-system folder. Allocated from the shell's allocator (SHGetMalloc),
// so that its Free releases it.
struct ITEMIDLIST;
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;

// A browse callback: the browser's window, the notification, its value and
// the record's lParam. Returns 0.
typedef int (*BFFCALLBACK)(HWND__* hwnd, uint32_t uMsg, intptr_t lParam, intptr_t lpData);

struct BROWSEINFOA {
    HWND__* hwndOwner;       // the owner window, or null
    LPCITEMIDLIST pidlRoot;  // where the tree starts; null: the whole namespace
    char* pszDisplayName;    // receives the chosen item's display name (MAX_PATH bytes)
    const char* lpszTitle;   // shown by the browser; null shows none
    uint32_t ulFlags;        // BIF_ flags
    BFFCALLBACK lpfn;        // the browse callback, or null
    intptr_t lParam;         // handed to the callback as its lpData
    int iImage;              // the browser's output; not set on Linux
};
typedef BROWSEINFOA BROWSEINFO;
typedef BROWSEINFOA* LPBROWSEINFOA;
typedef BROWSEINFOA* LPBROWSEINFO;

// The shell's allocator. SHGetMalloc hands out one that lives as long as the
// process; the caller gives its reference back with Release.
class IMalloc {
public:
    virtual void* Alloc(size_t size) = 0;  // null when out of memory
    virtual void Free(void* block) = 0;    // null is ignored
    virtual uint32_t Release() = 0;

protected:
    ~IMalloc() = default;
};

extern "C" {

// Runs the modal browser; on a choice writes the item's display name into
// pszDisplayName (cut to MAX_PATH - 1 bytes) and returns the item list,
// which the caller releases through SHGetMalloc. Null when cancelled, and
// when no browser can be shown.
ORVIK_AFX_API LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA bi);

// TRUE with the item's file-system path in `path` (MAX_PATH bytes), in the
// form in which names are handed back to a host; FALSE with `path` empty
// when the item has no such path or it does not fit.
ORVIK_AFX_API int32_t SHGetPathFromIDListA(LPCITEMIDLIST pidl, char* path);

// S_OK and the shell's allocator in *allocator; else a failure code and null.
ORVIK_AFX_API int32_t SHGetMalloc(IMalloc** allocator);

// The browser messages (BFFM_SET...) to a window that a browser opened;
// always 0. Any other message or window is ignored.
ORVIK_AFX_API intptr_t SendMessageA(HWND__* hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam);

// The desktop's window handle: never null, never a real window.
ORVIK_AFX_API HWND__* GetDesktopWindow(void);

// Task memory, from the shell's allocator.
ORVIK_AFX_API void* CoTaskMemAlloc(size_t size);
ORVIK_AFX_API void CoTaskMemFree(void* block);

}  // extern "C"

inline LPITEMIDLIST SHBrowseForFolder(LPBROWSEINFOA bi) {
    return SHBrowseForFolderA(bi);
}
inline int32_t SHGetPathFromIDList(LPCITEMIDLIST pidl, char* path) {
    return SHGetPathFromIDListA(pidl, path);
}
inline intptr_t SendMessage(HWND__* hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    return SendMessageA(hwnd, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// The browser behind these operations, for the browser module and for tests.
namespace orvik::shell {

// A folder browser: what SHBrowseForFolder runs and what SendMessage reaches.
class ORVIK_AFX_API Browser {
public:
    Browser() = default;
    Browser(const Browser&) = delete;
    Browser& operator=(const Browser&) = delete;
    virtual ~Browser();

    // Runs one modal browse as the record asks: calls its callback (when
    // set) with BFFM_INITIALIZED once it is open and BFFM_SELCHANGED on
    // each move, passing a window handle that this browser answers to.
    // Returns the chosen item list (NewItemList) or null for a cancel.
    virtual LPITEMIDLIST Browse(const BROWSEINFOA& info) = 0;
    // BFFM_SETSELECTIONA: select the folder at `nativePath`.
    virtual void Select(HWND__* window, const char* nativePath) = 0;
    // BFFM_SETSTATUSTEXTA: show `text` in the status line.
    virtual void ShowStatus(HWND__* window, const char* text) = 0;
};

// An item list for the folder at `nativePath`, or for an item with no
// file-system path that shows as `displayName`. Null when out of memory.
ORVIK_AFX_API LPITEMIDLIST NewItemList(const char* nativePath);
ORVIK_AFX_API LPITEMIDLIST NewItemListWithoutPath(const char* displayName);

// The desktop's browser (the GTK module), or null when it cannot be loaded
// or opens no display, or is asked from another thread than it runs on.
ORVIK_AFX_API Browser* DefaultBrowser();

// For tests only: run `browser` instead of the desktop's (null restores it).
ORVIK_AFX_API void InstallBrowserForTesting(Browser* browser);
// For tests only: `allocator` serves SHGetMalloc, CoTaskMemAlloc and item
// lists instead of the process heap (null restores it); with `handedOut`
// false SHGetMalloc fails while task memory keeps working.
ORVIK_AFX_API void InstallAllocatorForTesting(IMalloc* allocator, bool handedOut = true);

}  // namespace orvik::shell

#endif  // ORVIK_SHELL_H

// The shell's type names and result codes; none under ORVIK_HOST_TYPES
// (see the framework's type names in OrvikAfx.h).
#if !defined(ORVIK_HOST_TYPES) && !defined(ORVIK_SHELL_TYPE_NAMES)
#define ORVIK_SHELL_TYPE_NAMES
typedef intptr_t LPARAM;
typedef uintptr_t WPARAM;
typedef intptr_t LRESULT;
typedef int32_t HRESULT;
typedef uint32_t ULONG;
typedef void* LPVOID;
typedef size_t SIZE_T;
#define S_OK static_cast<HRESULT>(0)
#define E_FAIL static_cast<HRESULT>(0x80004005u)
#define E_INVALIDARG static_cast<HRESULT>(0x80070057u)
#endif  // the shell's type names
