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
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikShell.h"
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

// Passes everything to the desktop's browser and keeps the status texts that
// the library sends it, for the user's thread to wait for, and whether the
// dialog that they went to had the host's window as its owner.
class RecordingBrowser final : public orvik::shell::Browser {
public:
    RecordingBrowser(orvik::shell::Browser* desktop, HWND owner)
        : m_desktop(desktop), m_owner(owner) {}

    LPITEMIDLIST Browse(const BROWSEINFOA& info) override { return m_desktop->Browse(info); }
    void Select(HWND window, const char* path) override { m_desktop->Select(window, path); }
    void ShowStatus(HWND window, const char* text) override {
        const std::lock_guard<std::mutex> lock(m_guard);
        m_statuses.insert(text);
        const auto parent = Gtk<void* (*)(void*)>("gtk_window_get_transient_for");
        ownedByHost = parent != nullptr && parent(window) == m_owner;
        m_desktop->ShowStatus(window, text);
    }
    bool Showed(const std::string& text) {
        const std::lock_guard<std::mutex> lock(m_guard);
        return m_statuses.count(text) != 0;
    }

    std::atomic<bool> ownedByHost{false};

private:
    orvik::shell::Browser* m_desktop;
    HWND m_owner;
    std::mutex m_guard;
    std::set<std::string> m_statuses;
};

TEST(ChoosePathDesktop, UserMovesOnFromThePreselectedFolderAndChoosesInTheRealDialog) {
#ifndef ORVIK_HAVE_GTK_BROWSER
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

    orvik::shell::Browser* desktop = orvik::shell::DefaultBrowser();
    ASSERT_NE(desktop, nullptr) << "the GTK module did not load or open the display";
    const auto newWindow = Gtk<void* (*)(int)>("gtk_window_new");
    ASSERT_NE(newWindow, nullptr);
    CWnd owner;
    owner.m_hWnd = static_cast<HWND>(newWindow(0));  // a GTK_WINDOW_TOPLEVEL of the host
    RecordingBrowser recorder(desktop, owner.m_hWnd);
    orvik::shell::InstallBrowserForTesting(&recorder);

    const orvik::test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "alpha");
    std::filesystem::create_directory(dir.path() / "beta");
    // Handed in and back in the library's form (C:\tmp\...\beta).
    const std::string preselected = dir.Host("beta"), chosen = dir.Host("alpha");
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
        const auto shows = [&](const std::string& path) {  // as the status line cuts it
            const std::string status = path.size() > 35 ? path.substr(0, 32) + "..." : path;
            return WaitFor([&] { return recorder.Showed(status); }, 20s);
        };
        check(Sh("timeout 30 " + find + " >/dev/null") == 0 && shows(preselected),
              "no dialog showing the preselected folder");
        std::this_thread::sleep_for(1s);  // let the list settle on screen
        const std::string shot = ORVIK_ARTEFACT_DIR "/choose_path_dialog.png";
        check(Sh("import -window root '" + shot + "'") == 0, "no screenshot at " + shot);
        Sh("timeout 10 " + find + " windowfocus --sync key Up");
        check(shows(chosen), "the status line did not follow the selection up");
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
    orvik::shell::InstallBrowserForTesting(nullptr);

    EXPECT_EQ(failures, "");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(std::string(path), chosen);
    EXPECT_TRUE(recorder.ownedByHost) << "the dialog belongs to the host's window";
#endif
}

// Without the browser module a browse is a cancel at once: checked in a
// fresh process, with an alarm so that a hang fails. Without a display it is
// the same; orvikfile's choose-dir test runs so, one level up.
TEST(ChoosePathWithoutDesktop, BrowseIsACancel) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            alarm(30);
            setenv("ORVIK_BROWSER_MODULE", "/nonexistent/libOrvikAfxGtk.so", 1);
            char path[MAX_PATH] = {};
            const int32_t result = FILE_ChoosePath(path, "/", "Unseen", nullptr);
            _exit(result == ORVIK_CHOOSE_CANCELLED ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
