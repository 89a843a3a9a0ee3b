// FILE_ChoosePath with the desktop's real folder dialog (the GTK module), on
// a virtual X display that the test starts itself, driven by xdotool key
// presses. Leaves a screenshot of the open dialog in the build directory.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "OrvikShell.h"
#include "temp_dir.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

bool OnPath(const char* tool) {
    return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

// A command's standard output, or empty when it fails.
std::string Output(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[256];
        while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) {
            output += chunk;
        }
        if (pclose(pipe) != 0) {
            output.clear();
        }
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == ' ')) {
        output.pop_back();
    }
    return output;
}

// An Xvfb server on a display number that it picks itself as free. It dies
// with the test process, and is stopped when this object goes.
class VirtualDisplay {
public:
    VirtualDisplay() {
        int ready[2];
        if (pipe(ready) != 0) {
            return;
        }
        const std::string fd = std::to_string(ready[1]);
        m_pid = fork();
        if (m_pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            close(ready[0]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        m_name = ReadDisplayNumber(ready[0]);
        close(ready[0]);
    }
    ~VirtualDisplay() { Stop(); }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    const std::string& name() const { return m_name; }  // ":N", empty when not started
    void Stop() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

private:
    static std::string ReadDisplayNumber(int fd) {
        std::string number;
        const auto deadline = Clock::now() + 15s;
        while (Clock::now() < deadline) {
            pollfd wait{fd, POLLIN, 0};
            if (poll(&wait, 1, 500) <= 0) {
                continue;
            }
            char ch;
            if (read(fd, &ch, 1) != 1) {
                break;  // Xvfb ended
            }
            if (ch == '\n') {
                return ":" + number;
            }
            number += ch;
        }
        return std::string();
    }

    pid_t m_pid = -1;
    std::string m_name;
};

// A toplevel GtkWindow of the host, made through the GTK that the browser
// module has loaded (the test itself does not link GTK).
class HostWindow {
public:
    HostWindow() : m_gtk(dlopen("libgtk-3.so.0", RTLD_NOW | RTLD_NOLOAD)) {
        if (auto make = Function<void* (*)(int)>("gtk_window_new")) {
            m_window = make(0);  // GTK_WINDOW_TOPLEVEL
        }
    }
    ~HostWindow() {
        if (auto destroy = Function<void (*)(void*)>("gtk_widget_destroy"); destroy && m_window) {
            destroy(m_window);
        }
        if (m_gtk != nullptr) {
            dlclose(m_gtk);
        }
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND handle() const { return static_cast<HWND>(m_window); }
    // Whether `dialog` stays on top of this window, as its owner.
    bool Owns(HWND dialog) const {
        auto parent = Function<void* (*)(void*)>("gtk_window_get_transient_for");
        return parent != nullptr && m_window != nullptr && parent(dialog) == m_window;
    }

private:
    template <typename F>
    F Function(const char* name) const {
        return m_gtk != nullptr ? reinterpret_cast<F>(dlsym(m_gtk, name)) : nullptr;
    }
    void* m_gtk;
    void* m_window = nullptr;
};

// Passes everything to the desktop's browser and keeps the status texts that
// the library sends it, for the driver thread to read, and whether the
// dialog that they went to had the host's window as its owner.
class RecordingBrowser final : public orvik::shell::Browser {
public:
    RecordingBrowser(orvik::shell::Browser* desktop, const HostWindow& owner)
        : m_desktop(desktop), m_owner(owner) {}

    LPITEMIDLIST Browse(const BROWSEINFOA& info) override { return m_desktop->Browse(info); }
    void Select(HWND window, const char* path) override { m_desktop->Select(window, path); }
    void ShowStatus(HWND window, const char* text) override {
        {
            const std::lock_guard<std::mutex> lock(m_guard);
            m_statuses.emplace_back(text);
        }
        ownedByHost = m_owner.Owns(window);
        m_desktop->ShowStatus(window, text);
    }
    bool Showed(const std::string& text) {
        const std::lock_guard<std::mutex> lock(m_guard);
        for (const std::string& status : m_statuses) {
            if (status == text) {
                return true;
            }
        }
        return false;
    }

    std::atomic<bool> ownedByHost{false};

private:
    orvik::shell::Browser* m_desktop;
    const HostWindow& m_owner;
    std::mutex m_guard;
    std::vector<std::string> m_statuses;
};

bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

// The form in which the platform hands `native` back to a host.
std::string HostForm(const std::string& native) {
    LPITEMIDLIST item = orvik::shell::NewItemList(native.c_str());
    char path[MAX_PATH];
    SHGetPathFromIDList(item, path);
    CoTaskMemFree(item);
    return path;
}

// The status line's text for the folder at `native`: cut to 32 bytes and
// "..." past 35.
std::string StatusOf(const std::string& native) {
    const std::string path = HostForm(native);
    return path.size() > 35 ? path.substr(0, 32) + "..." : path;
}

struct Scene {
    std::string title, preselected, chosen;  // native paths; chosen is the one above
};

// The user's side: waits for the dialog, checks that it opened on the
// preselected folder, takes the screenshot, moves up one folder and presses
// Alt+S ("_Select"). If the dialog does not go, Escape, and at last the
// display itself is taken away, so that the browse can never hold the test.
void ActAsUser(const Scene& scene, RecordingBrowser& recorder, const std::atomic<bool>& returned,
               VirtualDisplay& display, std::vector<std::string>& failures) {
    const std::string window =
        Output("timeout 30 xdotool search --sync --name '^" + scene.title + "$' | head -n 1");
    if (window.empty()) {
        failures.push_back("no window titled \"" + scene.title + "\" appeared");
    } else if (!WaitFor([&] { return recorder.Showed(StatusOf(scene.preselected)); }, 20s)) {
        failures.push_back("the status line never showed the preselected folder");
    }
    std::this_thread::sleep_for(1s);  // let the list settle on screen
    const std::string shot = ORVIK_ARTEFACT_DIR "/choose_path_dialog.png";
    if (std::system(("import -window root '" + shot + "'").c_str()) != 0) {
        failures.push_back("no screenshot at " + shot);
    }
    if (!window.empty()) {
        std::system(("xdotool windowfocus --sync " + window + " key Up").c_str());
        if (!WaitFor([&] { return recorder.Showed(StatusOf(scene.chosen)); }, 10s)) {
            failures.push_back("the status line did not follow the selection up");
        }
        std::system("xdotool key --clearmodifiers alt+s");
    }
    if (WaitFor([&] { return returned.load(); }, 10s)) {
        return;
    }
    failures.push_back("the dialog did not close on Alt+S");
    for (int i = 0; i < 5 && !returned.load(); ++i) {
        std::system("xdotool key Escape");
        std::this_thread::sleep_for(1s);
    }
    if (!returned.load()) {
        display.Stop();  // GTK ends the process when its display goes
    }
}

TEST(ChoosePathDesktop, UserMovesOnFromThePreselectedFolderAndChoosesInTheRealDialog) {
#ifndef ORVIK_HAVE_GTK_BROWSER
    GTEST_SKIP() << "the GTK browser module was not built (libgtk-3-dev missing)";
#else
    if (!OnPath("Xvfb") || !OnPath("xdotool") || !OnPath("import")) {
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
    const HostWindow hostWindow;
    ASSERT_NE(hostWindow.handle(), nullptr);
    CWnd owner;
    owner.m_hWnd = hostWindow.handle();
    RecordingBrowser recorder(desktop, hostWindow);
    orvik::shell::InstallBrowserForTesting(&recorder);

    const orvik::test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "alpha");
    std::filesystem::create_directory(dir.path() / "beta");
    const Scene scene{"Orvik chooser test", dir / "beta", dir / "alpha"};

    std::atomic<bool> returned{false};
    std::vector<std::string> failures;
    std::thread user(ActAsUser, std::cref(scene), std::ref(recorder), std::cref(returned),
                     std::ref(display), std::ref(failures));
    char path[MAX_PATH] = {};
    const int32_t result =
        FILE_ChoosePath(path, HostForm(scene.preselected).c_str(), scene.title.c_str(), &owner);
    returned = true;
    user.join();
    orvik::shell::InstallBrowserForTesting(nullptr);

    for (const std::string& failure : failures) {
        ADD_FAILURE() << failure;
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(std::string(path), HostForm(scene.chosen));
    EXPECT_TRUE(recorder.ownedByHost) << "the dialog belongs to the host's window";
#endif
}

// Without a display, or without the module, a browse is a cancel at once:
// checked in a fresh process each, with an alarm so that a hang fails.
int ChooseInFreshProcess() {
    alarm(30);
    char path[MAX_PATH] = {};
    return FILE_ChoosePath(path, "/", "Unseen", nullptr) == -2 ? 0 : 1;
}

class ChoosePathWithoutDesktop : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(ChoosePathWithoutDesktop, NoDisplayGivesMinus2) {
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            _exit(ChooseInFreshProcess());
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(ChoosePathWithoutDesktop, MissingModuleGivesMinus2) {
    EXPECT_EXIT(
        {
            setenv("ORVIK_BROWSER_MODULE", "/nonexistent/libOrvikAfxGtk.so", 1);
            _exit(ChooseInFreshProcess());
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
