// The shell operations of the folder browser: item lists, the allocator,
// browser messages, and the loading of the desktop's browser module.
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "OrvikShell.h"
#include "drives.h"
#include "host_name.h"
#include "resolve.h"

// An item list is this header followed by a zero-terminated text: the
// item's path, or its display name when it has no file-system path.
struct ITEMIDLIST {
    uint32_t hasPath;
};

namespace {

class HeapAllocator final : public IMalloc {
public:
    LPVOID Alloc(SIZE_T size) override { return std::malloc(size); }
    void Free(LPVOID block) override { std::free(block); }
    ULONG Release() override { return 1; }  // lives as long as the process
};

HeapAllocator g_heap;
std::atomic<IMalloc*> g_testAllocator{nullptr};
std::atomic<bool> g_allocatorHandedOut{true};
std::atomic<orvik::shell::Browser*> g_testBrowser{nullptr};
// The browser that runs a browse on this thread: the one that its windows'
// messages go to.
thread_local orvik::shell::Browser* t_browsing = nullptr;

IMalloc* Allocator() {
    IMalloc* installed = g_testAllocator.load();
    return installed != nullptr ? installed : &g_heap;
}

const char* TextOf(LPCITEMIDLIST item) {
    return reinterpret_cast<const char*>(item + 1);
}

LPITEMIDLIST MakeItemList(bool hasPath, const char* text) {
    const size_t length = text != nullptr ? std::strlen(text) : 0;
    auto* item = static_cast<LPITEMIDLIST>(CoTaskMemAlloc(sizeof(ITEMIDLIST) + length + 1));
    if (item != nullptr) {
        item->hasPath = hasPath ? 1 : 0;
        char* stored = reinterpret_cast<char*>(item + 1);
        if (length != 0) {
            std::memcpy(stored, text, length);
        }
        stored[length] = '\0';
    }
    return item;
}

// Copies at most MAX_PATH - 1 bytes and always terminates.
void CopyCut(char* dest, const std::string& text) {
    const size_t length = text.size() < MAX_PATH ? text.size() : MAX_PATH - 1;
    std::memcpy(dest, text.data(), length);
    dest[length] = '\0';
}

std::string DisplayName(LPCITEMIDLIST item) {
    if (item->hasPath == 0) {
        return TextOf(item);
    }
    const std::vector<std::string> components = orvik::afx::LinuxComponents(TextOf(item));
    std::string last = components.empty() ? std::string() : components.back();
    if (last.empty()) {
        last = TextOf(item);  // the root
    }
    return last;
}

// --- The desktop's browser module

// In the private directory ORVIK_AFX_MODULE_SUBDIR below the library directory.
#define ORVIK_AFX_MODULE_NAME ORVIK_AFX_MODULE_SUBDIR "/libOrvikAfxGtk.so"
constexpr const char* kModuleName = ORVIK_AFX_MODULE_NAME;
constexpr const char* kModuleVariable = "ORVIK_BROWSER_MODULE";
constexpr const char* kModuleEntry = "OrvikAfxGtkBrowser";
using ModuleEntry = orvik::shell::Browser* (*)();

// Next to the library that holds this code, unless the environment names
// another file.
std::string BesideThisCode() {
    Dl_info self{};  // its file name stays null when the address is not found
    dladdr(reinterpret_cast<void*>(&BesideThisCode), &self);
    const std::string library = self.dli_fname != nullptr ? self.dli_fname : "";
    // Without a slash (npos + 1 is 0) the module is looked for by its name alone.
    return library.substr(0, library.find_last_of('/') + 1) + kModuleName;
}

// Linked statically, this code lies in the host's program, where the module
// is seldom shipped: then the installed library directory holds it.
std::string ModulePath() {
    if (const char* named = std::getenv(kModuleVariable); named != nullptr && *named != '\0') {
        return named;
    }
    std::string beside = BesideThisCode();
#ifdef ORVIK_AFX_MODULE_DIR
    if (access(beside.c_str(), F_OK) != 0) {
        return ORVIK_AFX_MODULE_DIR "/" ORVIK_AFX_MODULE_NAME;
    }
#endif
    return beside;
}

ModuleEntry LoadModule() {
    void* module = dlopen(ModulePath().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        return nullptr;
    }
    // The module stays loaded: GTK cannot be unloaded from a process.
    return reinterpret_cast<ModuleEntry>(dlsym(module, kModuleEntry));
}

// A message's lParam carries a pointer, as the message says.
template <typename T>
const T* Pointed(LPARAM lParam) {
    return reinterpret_cast<const T*>(lParam);  // NOLINT(performance-no-int-to-ptr)
}

// Selects the folder that a host's name reaches; a name that reaches
// nothing, or no memory, leaves the selection as it was.
void SelectByName(orvik::shell::Browser* browser, HWND window, const char* name) {
    try {
        std::string path;
        if (orvik::afx::LinuxPathByName(name, path) == 0) {
            browser->Select(window, path.c_str());
        }
    } catch (const std::bad_alloc&) {
    }
}

orvik::shell::Browser* ActiveBrowser() {
    orvik::shell::Browser* installed = g_testBrowser.load();
    return installed != nullptr ? installed : orvik::shell::DefaultBrowser();
}

}  // namespace

namespace orvik::shell {

Browser::~Browser() = default;

LPITEMIDLIST NewItemList(const char* nativePath) {
    return MakeItemList(true, nativePath);
}

LPITEMIDLIST NewItemListWithoutPath(const char* displayName) {
    return MakeItemList(false, displayName);
}

Browser* DefaultBrowser() {
    static std::once_flag loaded;
    static ModuleEntry entry = nullptr;
    std::call_once(loaded, [] { entry = LoadModule(); });
    return entry != nullptr ? entry() : nullptr;
}

void InstallBrowserForTesting(Browser* browser) {
    g_testBrowser.store(browser);
}

void InstallAllocatorForTesting(IMalloc* allocator, bool handedOut) {
    g_testAllocator.store(allocator);
    g_allocatorHandedOut.store(handedOut);
}

}  // namespace orvik::shell

LPVOID CoTaskMemAlloc(SIZE_T size) {
    return Allocator()->Alloc(size);
}

void CoTaskMemFree(LPVOID block) {
    Allocator()->Free(block);
}

HRESULT SHGetMalloc(IMalloc** allocator) {
    if (allocator == nullptr) {
        return E_INVALIDARG;
    }
    if (!g_allocatorHandedOut.load()) {
        *allocator = nullptr;
        return E_FAIL;
    }
    *allocator = Allocator();
    return S_OK;
}

HWND GetDesktopWindow() {
    static char desktop;
    return reinterpret_cast<HWND>(&desktop);
}

LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA bi) {
    orvik::shell::Browser* browser = bi != nullptr ? ActiveBrowser() : nullptr;
    if (browser == nullptr) {
        return nullptr;
    }
    orvik::shell::Browser* outer = t_browsing;
    t_browsing = browser;
    LPITEMIDLIST chosen = browser->Browse(*bi);
    t_browsing = outer;
    if (chosen != nullptr && bi->pszDisplayName != nullptr) {
        CopyCut(bi->pszDisplayName, DisplayName(chosen));
    }
    return chosen;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR path) {
    if (path == nullptr) {
        return FALSE;
    }
    path[0] = '\0';
    if (pidl == nullptr || pidl->hasPath == 0) {
        return FALSE;
    }
    if (TextOf(pidl)[0] != '/') {
        return FALSE;  // no absolute path
    }
    try {
        const std::string host =
            orvik::afx::HostFormOfLinuxPath(orvik::afx::LinuxComponents(TextOf(pidl)));
        if (host.size() >= MAX_PATH) {
            return FALSE;  // a path cut short would name another folder
        }
        CopyCut(path, host);
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    orvik::shell::Browser* browser = t_browsing;
    if (browser == nullptr || hwnd == nullptr || lParam == 0) {
        return 0;
    }
    if (msg == BFFM_SETSTATUSTEXTA) {
        browser->ShowStatus(hwnd, Pointed<char>(lParam));
    } else if (msg == BFFM_SETSELECTIONA) {
        if (wParam != 0) {
            SelectByName(browser, hwnd, Pointed<char>(lParam));
        } else {
            const auto* item = Pointed<ITEMIDLIST>(lParam);
            if (item->hasPath != 0) {
                browser->Select(hwnd, TextOf(item));
            }
        }
    }
    return 0;
}
