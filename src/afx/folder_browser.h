// The seam between the platform classes and a folder dialog. Never installed.
//
// AfxBrowseForFolder (include/OrvikAfx.h) runs a FolderBrowser that it takes
// from a module loaded at run time (folder_browser.cpp says where it looks):
// the GTK 3 dialog of libOrvikAfxGtk.so (gtk_browser.cpp), or, in the
// tests, a scripted browser that replays a user's moves
// (tests/support/scripted_browser.h), named by ORVIK_BROWSER_MODULE.
//
// Why a seam of our own and not the shell's API: FILE_ChoosePath is the
// feature; the shell's folder browser (BROWSEINFO, item lists, IMalloc,
// SendMessage) was only how it was once built. A host that wants the shell
// calls its platform's own chooser; an emulation of that foreign API kept
// public would freeze some 400 lines of it in the ABI, and its test hooks
// with it. This interface is compiled into both sides from this one header
// and never leaves the project's own files; its entry's name carries its
// version, so that a module of another version is refused, never called.
//
// Paths here are Linux paths; the host's names stay on the library's side.
#ifndef ORVIK_AFX_FOLDER_BROWSER_H
#define ORVIK_AFX_FOLDER_BROWSER_H

#include <string>

namespace orvik::afx {

class FolderBrowser;

// What the library does while a dialog is open: called by the browser, on
// the browsing thread, from inside Browse.
class FolderDialogListener {
public:
    // The dialog has opened.
    virtual void Opened(FolderBrowser& browser) = 0;
    // The selection moved to `linuxPath`, or (null) to an item without a
    // file-system path.
    virtual void SelectionMoved(FolderBrowser& browser, const char* linuxPath) = 0;

protected:
    ~FolderDialogListener() = default;
};

class FolderBrowser {
public:
    enum class Outcome { chosen, cancelled, noPath };

    // Runs one modal dialog owned by `owner` (the host's GtkWindow*, or
    // null for none) with `title` (never null). A listener (or null) hears
    // of the dialog while it is open; only with one does the dialog have a
    // status line. On `chosen`, `chosenPath` holds the folder's Linux path.
    virtual Outcome Browse(void* owner, const char* title, FolderDialogListener* listener,
                           std::string& chosenPath) = 0;
    // For a listener, while the dialog is open: select the folder at
    // `linuxPath`; show `text` in the status line.
    virtual void Select(const char* linuxPath) = 0;
    virtual void ShowStatus(const char* text) = 0;

protected:
    ~FolderBrowser() = default;
};

// The module's one entry, with C linkage: its browser, or null with a
// static text that says why (no display, another thread) in *why.
using FolderBrowserEntry = FolderBrowser* (*)(const char** why);
#define ORVIK_FOLDER_BROWSER_ENTRY "OrvikFolderBrowser1"

}  // namespace orvik::afx

#endif  // ORVIK_AFX_FOLDER_BROWSER_H
