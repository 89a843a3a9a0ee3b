#include "drives.h"

#include <pthread.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>
#include <string_view>
#include <system_error>
#include <utility>

#include "OrvikAfx.h"
#include "host_name.h"

namespace orvik::afx {

namespace {

constexpr int kDriveCount = 26;
constexpr char kHandBackOrder[] = "CDEFGHIJKLMNOPQRSTUVWXYZAB";

size_t DriveIndex(char letter) {
    return static_cast<size_t>((letter | 0x20) - 'a');
}

using DriveArray = std::array<std::shared_ptr<const Drive>, kDriveCount>;

// Why an entry of ORVIK_DRIVES is ignored, or nothing when it is mapped.
std::string MapEnvironmentEntry(const std::string& entry) {
    const bool letter = entry.size() >= 2 && ((entry[0] | 0x20) >= 'a' && (entry[0] | 0x20) <= 'z');
    if (!letter || entry[1] != '=' || entry.size() == 2) {
        return "not of the form LETTER=DIRECTORY";
    }
    if (!AfxMapDrive(entry[0], entry.c_str() + 2)) {
        return std::error_code(errno, std::generic_category()).message();
    }
    return {};
}

// Maps the drives that ORVIK_DRIVES names, "D=/srv/data;E=/mnt/x", in
// order, through AfxMapDrive; each entry it ignores is named on standard
// error with the reason.
void MapDrivesOfEnvironment() noexcept {
    const char* setting = std::getenv("ORVIK_DRIVES");
    try {
        for (std::string_view rest = setting != nullptr ? setting : ""; !rest.empty();) {
            const size_t end = std::min(rest.find(';'), rest.size());
            const std::string entry(rest.substr(0, end));
            rest.remove_prefix(std::min(end + 1, rest.size()));
            const std::string refusal = entry.empty() ? std::string() : MapEnvironmentEntry(entry);
            if (!refusal.empty()) {
                std::fprintf(stderr, "OrvikAfx: ORVIK_DRIVES entry \"%s\" ignored: %s\n",
                             entry.c_str(), refusal.c_str());
            }
        }
    } catch (const std::bad_alloc&) {
        std::fputs("OrvikAfx: ORVIK_DRIVES ignored from here on: out of memory\n", stderr);
    }
}

// Set while this thread maps the drives of the environment, whose own
// lookups and mappings use the table as it stands.
thread_local bool t_mappingEnvironment = false;

// The table of drives. A lookup copies a drive out under the lock and works
// with the copy, so a mapping changed meanwhile closes the old directory
// only when the last lookup that uses it is done.
class DriveTable {
public:
    DriveTable() {
        ::pthread_atfork(
            [] {
                g_table.m_environmentMutex.lock();
                g_table.m_mutex.lock();
            },
            [] { g_table.UnlockBoth(); }, [] { g_table.UnlockBoth(); });
    }

    std::shared_ptr<const Drive> Of(char letter) {
        MapEnvironmentOnce();
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_drives[DriveIndex(letter)];
    }

    void Set(char letter, std::shared_ptr<const Drive> drive) {
        MapEnvironmentOnce();              // first, so that a host's own mapping wins
        std::shared_ptr<const Drive> old;  // closed outside the lock
        const std::lock_guard<std::mutex> lock(m_mutex);
        old = std::exchange(m_drives[DriveIndex(letter)], std::move(drive));
    }

    DriveArray All() {
        MapEnvironmentOnce();
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_drives;
    }

    static DriveTable g_table;

private:
    // Before the first use of any drive, as the code page of names is read
    // at its first use; other threads wait until it is done.
    void MapEnvironmentOnce() {
        if (m_environmentMapped.load(std::memory_order_acquire) || t_mappingEnvironment) {
            return;
        }
        const std::lock_guard<std::mutex> lock(m_environmentMutex);
        if (!m_environmentMapped.load(std::memory_order_relaxed)) {
            t_mappingEnvironment = true;
            MapDrivesOfEnvironment();
            t_mappingEnvironment = false;
            m_environmentMapped.store(true, std::memory_order_release);
        }
    }

    void UnlockBoth() {
        m_mutex.unlock();
        m_environmentMutex.unlock();
    }

    std::mutex m_mutex;
    DriveArray m_drives;
    std::mutex m_environmentMutex;  // taken before m_mutex, never after
    std::atomic<bool> m_environmentMapped{false};
};

// Made when the library is loaded, so that no thread is ever midway through
// making it when another forks.
DriveTable DriveTable::g_table;

bool Holds(const Drive& drive, const std::vector<std::string>& components) {
    return drive.pathKnown() && drive.components.size() <= components.size() &&
           std::equal(drive.components.begin(), drive.components.end(), components.begin());
}

// Whether the drive's directory still has the path it had when it was
// mapped: renamed or replaced since, its old path names something else.
bool StillAtItsPath(const Drive& drive) {
    std::string path;
    for (const std::string& component : drive.components) {
        path += "/" + component;
    }
    struct stat info {};
    return Retried([&] { return Sys().fstatat(AT_FDCWD, path.c_str(), &info, 0); }) == 0 &&
           DirectoryId{info.st_dev, info.st_ino} == drive.id;
}

}  // namespace

std::shared_ptr<const Drive> DriveOf(char letter) {
    return DriveTable::g_table.Of(letter);
}

int MapDriveOnto(char letter, Descriptor directory, bool wideLinks) {
    if (!directory.Valid()) {
        DriveTable::g_table.Set(letter, nullptr);
        return 0;
    }
    struct stat info {};
    if (Retried([&] { return Sys().fstat(directory.Get(), &info); }) != 0) {
        return errno;
    }
    std::vector<std::string> components = LinuxComponents(PathOfDescriptor(directory.Get()));
    struct stat root {};
    const bool isRoot = Retried([&] { return Sys().fstatat(AT_FDCWD, "/", &root, 0); }) == 0 &&
                        root.st_dev == info.st_dev && root.st_ino == info.st_ino;
    if (isRoot) {
        DriveTable::g_table.Set(letter, nullptr);
        return 0;
    }
    DriveTable::g_table.Set(
        letter, std::make_shared<const Drive>(std::move(directory), std::move(components),
                                              DirectoryId{info.st_dev, info.st_ino}, wideLinks));
    return 0;
}

std::string HostFormOfLinuxPath(const std::vector<std::string>& components) {
    const DriveArray drives = DriveTable::g_table.All();
    // Candidates in the order of preference: longest drive path first, then
    // the order of the letters.
    char rootLetter = '\0';
    std::vector<std::pair<size_t, char>> mapped;
    for (const char* letter = kHandBackOrder; *letter != '\0'; ++letter) {
        const auto& drive = drives[DriveIndex(*letter)];
        if (drive == nullptr) {
            rootLetter = rootLetter != '\0' ? rootLetter : *letter;
        } else if (Holds(*drive, components)) {
            mapped.emplace_back(drive->components.size(), *letter);
        }
    }
    std::stable_sort(mapped.begin(), mapped.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [length, letter] : mapped) {
        if (StillAtItsPath(*drives[DriveIndex(letter)])) {
            const char prefix[] = {letter, ':'};
            return HostForm(std::string_view(prefix, sizeof prefix), components, length);
        }
    }
    if (rootLetter != '\0') {
        const char prefix[] = {rootLetter, ':'};
        return HostForm(std::string_view(prefix, sizeof prefix), components);
    }
    return HostForm("", components);
}

}  // namespace orvik::afx
