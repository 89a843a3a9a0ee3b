// FILE_ChoosePath with the desktop's real folder dialog (the GTK module), on
// a virtual X display that the test starts itself, driven by xdotool key
// presses. Leaves a screenshot of the open dialog in the build directory.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "scripted_browser.h"
#include "temp_dir.h"

namespace {

using namespace std::chrono_literals;

int Sh(const std::string& command) {
    return std::system(command.c_str());
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(100ms);
    }
    return condition();
}

// An Xvfb server on a display number that it picks itself as free. It lives
// two minutes at most, so that it never outlives a test that dies, and is
// stopped when this object goes.
class VirtualDisplay {
public:
    VirtualDisplay()
        : m_pipe(popen("echo $$; exec timeout 120 Xvfb -displayfd 1 -screen 0 1024x768x24"
                       " -nolisten tcp 2>/dev/null",
                       "r")) {
        char pid[32] = {}, number[32] = {};  // Xvfb writes its number once it is ready
        if (m_pipe != nullptr && std::fgets(pid, sizeof pid, m_pipe) != nullptr) {
            m_pid = std::atoi(pid);
            const bool ready = std::fgets(number, sizeof number, m_pipe) != nullptr;
            m_name = ready ? ":" + std::to_string(std::atoi(number)) : "";
        }
    }
    ~VirtualDisplay() { Stop(); }

    const std::string& name() const { return m_name; }  // ":N", empty when not started
    void Stop() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            pclose(m_pipe);
            m_pid = -1;
        }
    }

private:
    FILE* m_pipe;
    pid_t m_pid = -1;
    std::string m_name;
};

// A function of the GTK that the browser module has loaded (the test itself
// does not link GTK), or null.
template <typename F>
F Gtk(const char* name) {
    void* gtk = dlopen("libgtk-3.so.0", RTLD_NOW | RTLD_NOLOAD);
    return gtk != nullptr ? reinterpret_cast<F>(dlsym(gtk, name)) : nullptr;
}

// GLib's list node, as GTK's functions found at run time hand it over.
struct GList {
    void* data;
    GList* next;
    GList* prev;
};

// Whether a toplevel window of the process (the open dialog) has `owner` as
// its parent. Runs on the dialog's thread.
bool DialogOwnedBy(void* owner) {
    const auto list = Gtk<GList* (*)()>("gtk_window_list_toplevels");
    const auto parent = Gtk<void* (*)(void*)>("gtk_window_get_transient_for");
    const auto freeList = Gtk<void (*)(GList*)>("g_list_free");
    bool owned = false;
    GList* toplevels =
        list != nullptr && parent != nullptr && freeList != nullptr ? list() : nullptr;
    for (GList* node = toplevels; node != nullptr; node = node->next) {
        owned = owned || parent(node->data) == owner;
    }
    if (toplevels != nullptr) {
        freeList(toplevels);
    }
    return owned;
}

TEST(ChoosePathDesktop, UserMovesOnFromThePreselectedFolderAndChoosesInTheRealDialog) {
#if !ORVIK_HAVE_GTK_BROWSER
    GTEST_SKIP() << "the GTK browser module was not built (libgtk-3-dev missing)";
#else
    if (Sh("for tool in Xvfb xdotool import; do command -v $tool || exit 1; done >/dev/null")) {
        GTEST_SKIP() << "Xvfb, xdotool and ImageMagick's import are needed to drive the "
                        "real dialog; scripts/install-deps.sh installs them";
    }
    VirtualDisplay display;
    ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
    setenv("DISPLAY", display.name().c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    setenv("NO_AT_BRIDGE", "1", 1);            // no accessibility bus to wait for
    setenv("GSETTINGS_BACKEND", "memory", 1);  // leave the user's settings alone
    std::filesystem::create_directories(ORVIK_ARTEFACT_DIR);

    // The scripted browser passes everything on to the real dialog and
    // keeps the status texts, for the user's thread to wait for.
    orvik::test::ScriptedBrowser& recorder = orvik::test::UseScriptedBrowser();
    void* gtkModule = dlopen(ORVIK_GTK_BROWSER_MODULE, RTLD_NOW | RTLD_LOCAL);
    const auto entry = reinterpret_cast<orvik::afx::FolderBrowserEntry>(
        gtkModule != nullptr ? dlsym(gtkModule, ORVIK_FOLDER_BROWSER_ENTRY) : nullptr);
    const char* why = "no module";
    recorder.forward = entry != nullptr ? entry(&why) : nullptr;
    ASSERT_NE(recorder.forward, nullptr) << why;
    const auto newWindow = Gtk<void* (*)(int)>("gtk_window_new");
    ASSERT_NE(newWindow, nullptr);
    CWnd owner;
    owner.m_hWnd = static_cast<HWND>(newWindow(0));  // a GTK_WINDOW_TOPLEVEL of the host

    const orvik::test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "alpha");
    std::filesystem::create_directory(dir.path() / "beta");
    // Handed in and back in the library's form (C:\tmp\...\beta).
    const std::string preselected = dir.Host("beta"), chosen = dir.Host("alpha");
    // What the status line showed (each path as it cuts it), and whether the
    // dialog that showed it had the host's window as its owner.
    const auto cut = [](const std::string& p) {
        return p.size() > 35 ? p.substr(0, 32) + "..." : p;
    };
    std::atomic<bool> showedPreselected{false}, showedChosen{false}, ownedByHost{false};
    recorder.onStatus = [&](const char* text) {
        showedPreselected = showedPreselected || text == cut(preselected);
        showedChosen = showedChosen || text == cut(chosen);
        ownedByHost = ownedByHost || DialogOwnedBy(owner.m_hWnd);
    };
    const std::string find = "xdotool search --sync --name '^Orvik chooser test$'";
    std::atomic<bool> returned{false};
    std::string failures;
    // The user: waits for the dialog on the preselected folder, takes the
    // screenshot, moves up one folder and presses Alt+S ("_Select"). If the
    // dialog does not go, Escape, and at last the display is taken away
    // (GTK then ends the process), so that the browse never holds the test.
    std::thread user([&] {
        const auto check = [&](bool ok, const std::string& what) {
            failures += ok ? "" : what + "; ";
        };
        check(Sh("timeout 30 " + find + " >/dev/null") == 0 &&
                  WaitFor([&] { return showedPreselected.load(); }, 20s),
              "no dialog showing the preselected folder");
        std::this_thread::sleep_for(1s);  // let the list settle on screen
        const std::string shot = ORVIK_ARTEFACT_DIR "/choose_path_dialog.png";
        check(Sh("import -window root '" + shot + "'") == 0, "no screenshot at " + shot);
        Sh("timeout 10 " + find + " windowfocus --sync key Up");
        check(WaitFor([&] { return showedChosen.load(); }, 20s),
              "the status line did not follow the selection up");
        Sh("xdotool key --clearmodifiers alt+s");
        check(WaitFor([&] { return returned.load(); }, 10s), "the dialog did not close on Alt+S");
        for (int i = 0; i < 5 && !returned; ++i) {
            Sh("xdotool key Escape");
            std::this_thread::sleep_for(1s);
        }
        if (!returned) {
            display.Stop();
        }
    });
    char path[MAX_PATH] = {};
    const int32_t result = FILE_ChoosePath(path, preselected.c_str(), "Orvik chooser test", &owner);
    returned = true;
    user.join();

    EXPECT_EQ(failures, "");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(std::string(path), chosen);
    EXPECT_TRUE(ownedByHost) << "the dialog belongs to the host's window";
#endif
}

}  // namespace
