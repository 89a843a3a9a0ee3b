// The folder dialog of the platform classes: where its module is found, and
// how a browse turns the host's names into Linux paths and back.
#include "folder_browser.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "OrvikAfx.h"
#include "drives.h"
#include "host_name.h"
#include "resolve.h"

namespace {

using orvik::afx::FolderBrowser;
using orvik::afx::FolderBrowserEntry;

constexpr const char* kModuleName = "libOrvikAfxGtk.so";
constexpr const char* kModuleVariable = "ORVIK_BROWSER_MODULE";
constexpr size_t kStatusWidth = 35;  // the longest status text shown whole
constexpr size_t kStatusKept = 32;   // bytes of a longer path shown before "..."

// The module once loaded (it stays: GTK cannot be unloaded from a process),
// and what the last attempt to show a dialog met.
struct ModuleState {
    std::mutex guard;
    FolderBrowserEntry entry = nullptr;
    int status = AFX_BROWSER_NOT_FOUND;
    std::string text = "no browse yet";
};

ModuleState& Module() {
    static ModuleState state;
    return state;
}

std::string DirectoryOf(const std::string& file) {
    return file.substr(0, file.find_last_of('/') + 1);
}

std::vector<std::string> ModuleDirectories() {
    std::vector<std::string> directories;
    Dl_info self{};
    if (dladdr(reinterpret_cast<void*>(&ModuleDirectories), &self) != 0 &&
        self.dli_fname != nullptr && self.dli_fname[0] == '/') {
        directories.push_back(DirectoryOf(self.dli_fname));
        directories.push_back(DirectoryOf(self.dli_fname) + ORVIK_AFX_MODULE_SUBDIR "/");
    }
    std::error_code failed;
    const std::string program = std::filesystem::read_symlink("/proc/self/exe", failed).string();
    if (!failed) {
        directories.push_back(DirectoryOf(program));
    }
#ifdef ORVIK_AFX_MODULE_BUILD_DIR
    directories.emplace_back(ORVIK_AFX_MODULE_BUILD_DIR "/");
#endif
    directories.emplace_back(ORVIK_AFX_MODULE_DIR "/");
    return directories;
}

std::vector<std::string> ModuleCandidates() {
    if (const char* named = std::getenv(kModuleVariable); named != nullptr && *named != '\0') {
        return {named};
    }
    std::vector<std::string> candidates;
    for (const std::string& directory : ModuleDirectories()) {
        const std::string candidate = directory + kModuleName;
        if (std::find(candidates.begin(), candidates.end(), candidate) == candidates.end()) {
            candidates.push_back(candidate);
        }
    }
    return candidates;
}

// Loads the first candidate that loads and has the entry; else records why.
// Called with the state's lock held.
void LoadModule(ModuleState& state) {
    std::string lookedIn, loadErrors;
    for (const std::string& candidate : ModuleCandidates()) {
        if (access(candidate.c_str(), F_OK) != 0) {
            lookedIn += (lookedIn.empty() ? "" : ", ") + candidate;
            continue;
        }
        void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        void* entry = module != nullptr ? dlsym(module, ORVIK_FOLDER_BROWSER_ENTRY) : nullptr;
        if (entry != nullptr) {
            state.entry = reinterpret_cast<FolderBrowserEntry>(entry);
            state.status = AFX_BROWSER_READY;
            state.text = "loaded " + candidate;
            return;
        }
        const char* error = dlerror();
        loadErrors += (loadErrors.empty() ? "" : "; ") + (error != nullptr ? error : candidate);
        if (module != nullptr) {
            dlclose(module);
        }
    }
    state.status = loadErrors.empty() ? AFX_BROWSER_NOT_FOUND : AFX_BROWSER_NOT_LOADED;
    state.text = loadErrors.empty()
                     ? std::string(kModuleName) + " not found; looked for " + lookedIn
                     : loadErrors;
}

// The module's browser, ready to show a dialog on this thread, or null.
FolderBrowser* ReadyBrowser() {
    ModuleState& state = Module();
    const std::lock_guard<std::mutex> lock(state.guard);
    try {
        if (state.entry == nullptr) {
            LoadModule(state);
        }
        if (state.entry == nullptr) {
            return nullptr;
        }
        const char* why = "the folder browser module showed no dialog";
        FolderBrowser* browser = state.entry(&why);
        state.status = browser != nullptr ? AFX_BROWSER_READY : AFX_BROWSER_NO_DIALOG;
        state.text = browser != nullptr ? "ready" : why;
        return browser;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// The host form of an absolute Linux path, in `host`; false for a path that
// is not absolute or does not fit MAX_PATH bytes with its terminating zero.
bool HostFormThatFits(const char* linuxPath, std::string& host) {
    if (linuxPath == nullptr || linuxPath[0] != '/') {
        return false;
    }
    host = orvik::afx::HostFormOfLinuxPath(orvik::afx::LinuxComponents(linuxPath));
    return host.size() < MAX_PATH;
}

// With an initial name: selects it once the dialog is open, and shows each
// folder selected in the status line.
class StatusFollower final : public orvik::afx::FolderDialogListener {
public:
    explicit StatusFollower(const char* initial) : m_initial(initial) {}

    void Opened(FolderBrowser& browser) override {
        try {
            std::string path;
            if (orvik::afx::LinuxPathByName(m_initial, path) == 0) {
                browser.Select(path.c_str());
            }
        } catch (const std::bad_alloc&) {  // the dialog goes on without a selection
        }
    }

    void SelectionMoved(FolderBrowser& browser, const char* linuxPath) override {
        try {
            std::string status;
            if (HostFormThatFits(linuxPath, status)) {
                if (status.size() > kStatusWidth) {
                    status.replace(kStatusKept, std::string::npos, "...");
                }
                browser.ShowStatus(status.c_str());
            }
        } catch (const std::bad_alloc&) {  // the status line keeps its text
        }
    }

private:
    const char* m_initial;
};

}  // namespace

int AfxBrowseForFolder(HWND owner, LPCTSTR title, LPCTSTR initial, LPTSTR chosen) {
    FolderBrowser* browser = chosen != nullptr ? ReadyBrowser() : nullptr;
    if (browser == nullptr) {
        return AFX_BROWSE_CANCELLED;
    }
    StatusFollower follower(initial);
    std::string path, host;
    const FolderBrowser::Outcome outcome = browser->Browse(
        owner, title != nullptr ? title : "", initial != nullptr ? &follower : nullptr, path);
    if (outcome == FolderBrowser::Outcome::cancelled) {
        return AFX_BROWSE_CANCELLED;
    }
    try {
        if (outcome == FolderBrowser::Outcome::chosen && HostFormThatFits(path.c_str(), host)) {
            std::memcpy(chosen, host.c_str(), host.size() + 1);
            return AFX_BROWSE_CHOSEN;
        }
    } catch (const std::bad_alloc&) {  // a choice that cannot be named is no path
    }
    chosen[0] = '\0';
    return AFX_BROWSE_NO_PATH;
}

int AfxFolderBrowserStatus(LPTSTR text, UINT size) {
    ModuleState& state = Module();
    const std::lock_guard<std::mutex> lock(state.guard);
    try {
        if (state.entry == nullptr) {
            LoadModule(state);
        }
    } catch (const std::bad_alloc&) {  // the last status stands
    }
    if (text != nullptr && size != 0) {
        const size_t length = std::min<size_t>(state.text.size(), size - 1);
        std::memcpy(text, state.text.data(), length);
        text[length] = '\0';
    }
    return state.status;
}
