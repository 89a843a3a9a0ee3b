#include "drives.h"

#include <pthread.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <mutex>
#include <utility>

#include "host_name.h"

namespace orvik::afx {

namespace {

constexpr int kDriveCount = 26;
constexpr char kHandBackOrder[] = "CDEFGHIJKLMNOPQRSTUVWXYZAB";

size_t DriveIndex(char letter) {
    return static_cast<size_t>((letter | 0x20) - 'a');
}

using DriveArray = std::array<std::shared_ptr<const Drive>, kDriveCount>;

// The table of drives. A lookup copies a drive out under the lock and works
// with the copy, so a mapping changed meanwhile closes the old directory
// only when the last lookup that uses it is done.
class DriveTable {
public:
    DriveTable() {
        ::pthread_atfork([] { g_table.m_mutex.lock(); }, [] { g_table.m_mutex.unlock(); },
                         [] { g_table.m_mutex.unlock(); });
    }

    std::shared_ptr<const Drive> Of(char letter) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_drives[DriveIndex(letter)];
    }

    void Set(char letter, std::shared_ptr<const Drive> drive) {
        std::shared_ptr<const Drive> old;  // closed outside the lock
        const std::lock_guard<std::mutex> lock(m_mutex);
        old = std::exchange(m_drives[DriveIndex(letter)], std::move(drive));
    }

    DriveArray All() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_drives;
    }

    static DriveTable g_table;

private:
    std::mutex m_mutex;
    DriveArray m_drives;
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
            const std::vector<std::string> rest(components.begin() + static_cast<long>(length),
                                                components.end());
            return HostForm(std::string(1, letter) + ":", rest);
        }
    }
    if (rootLetter != '\0') {
        return HostForm(std::string(1, rootLetter) + ":", components);
    }
    return HostForm("", components);
}

}  // namespace orvik::afx
