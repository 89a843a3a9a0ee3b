#include "folded_index.h"

#include <dirent.h>
#include <linux/magic.h>
#include <pthread.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <list>
#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "OrvikSTR_Lib.h"
#include "name_fold.h"

namespace orvik::afx {

namespace {

// The changes of a directory's list of names. The kernel adds IN_IGNORED
// when a watch ends (the directory deleted, its file system unmounted) and
// IN_Q_OVERFLOW when changes were lost.
constexpr uint32_t kNameChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;

// File systems on which the kernel reports every change to a directory,
// whichever process on this machine makes it. Overlay file systems report
// the changes made through them, and their layers are not to be changed
// beneath them. Network and FUSE file systems are changed where no
// notification reaches.
bool ChangesAreReported(const char* directory) {
    struct statfs info {};
    if (::statfs(directory, &info) != 0) {
        return false;
    }
    switch (static_cast<unsigned long>(info.f_type)) {
        case EXT4_SUPER_MAGIC:  // ext2 and ext3 as well
        case TMPFS_MAGIC:
        case RAMFS_MAGIC:
        case XFS_SUPER_MAGIC:
        case BTRFS_SUPER_MAGIC:
        case F2FS_SUPER_MAGIC:
        case OVERLAYFS_SUPER_MAGIC:
            return true;
        default:
            return false;
    }
}

// A directory is known by its identity, not by its name: a name that now
// leads to another directory (renamed, replaced, a parent renamed) finds
// another index. The watch pins the directory's inode, so its number is
// not reused before its IN_IGNORED is queued.
using DirectoryId = std::pair<dev_t, ino_t>;

struct DirectoryIndex {
    int watch = -1;
    std::unordered_multimap<std::string, std::string> names;  // folded name -> name on disk
    std::list<DirectoryId>::iterator recent;
};

bool IsDotOrDotDot(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

class FoldedIndex {
public:
    FoldedIndex() {
        m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ::pthread_atfork([] { Instance().m_mutex.lock(); }, [] { Instance().m_mutex.unlock(); },
                         [] { Instance().RestartInChild(); });
    }

    static FoldedIndex& Instance() {
        static FoldedIndex index;
        return index;
    }

    bool Find(const std::string& directory, const std::string& component, IndexUse use,
              std::string& spelling) {
        const char* path = directory.empty() ? "." : directory.c_str();
        const std::lock_guard<std::mutex> lock(m_mutex);
        // Without a queue of changes (inotify refused) no watch is made, and
        // every directory is read for one answer.
        ApplyChanges();
        if (m_codePage != STR_GetCodePage()) {
            ForgetAll();  // folded in another code page
            m_codePage = STR_GetCodePage();
        }
        struct stat info {};
        if (::stat(path, &info) != 0 || !S_ISDIR(info.st_mode)) {
            return false;
        }
        const DirectoryId id{info.st_dev, info.st_ino};
        DirectoryIndex once;  // the names of a directory that is not kept indexed
        DirectoryIndex* index = Touch(id);
        if (index == nullptr && use == IndexUse::kReadIfNeeded) {
            index = Read(path, id, once);
        }
        if (index == nullptr) {
            return false;
        }
        spelling = Choose(*index, component);
        return true;
    }

private:
    // A child process shares the parent's inotify queue: it starts its own.
    void RestartInChild() {
        ::close(m_fd);
        m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        m_byId.clear();
        m_byWatch.clear();
        m_recent.clear();
        m_nameCount = 0;
        m_mutex.unlock();
    }

    DirectoryIndex* Touch(const DirectoryId& id) {
        const auto found = m_byId.find(id);
        if (found == m_byId.end()) {
            return nullptr;
        }
        m_recent.splice(m_recent.begin(), m_recent, found->second.recent);
        return &found->second;
    }

    // The lower-case spelling first, then the byte-wise smallest: stable
    // whatever order the directory lists its entries in. The exact spelling
    // is not looked for: it was looked for on disk before.
    static std::string Choose(const DirectoryIndex& index, const std::string& component) {
        const auto [first, last] = index.names.equal_range(FoldedName(component));
        if (first == last) {
            return std::string();
        }
        const std::string lower = LowerName(component);
        const std::string* best = &first->second;
        bool lowerFound = false;
        for (auto entry = first; entry != last; ++entry) {
            lowerFound = lowerFound || entry->second == lower;
            if (entry->second < *best) {
                best = &entry->second;
            }
        }
        return lowerFound ? lower : *best;
    }

    // Reads the directory's names into `once`, and keeps them as its index
    // when the kernel reports its changes and they are not too many. Null
    // when the directory cannot be read or is no longer the one identified.
    // The watch comes first, so that no change is lost between the read and
    // the watch; a change during the read may come twice, which adding and
    // removing by name take in their stride.
    DirectoryIndex* Read(const char* path, const DirectoryId& id, DirectoryIndex& once) {
        // A watch refused: out of watches (fs.inotify.max_user_watches), or gone.
        const int watch =
            ChangesAreReported(path) ? ::inotify_add_watch(m_fd, path, kNameChanges) : -1;
        const bool read = ReadNames(path, id, once);
        if (!read || watch < 0 || once.names.size() > kMaxIndexedNames) {
            if (watch >= 0 && m_byWatch.count(watch) == 0) {
                ::inotify_rm_watch(m_fd, watch);
            }
            return read ? &once : nullptr;
        }
        once.watch = watch;
        MakeRoom(1, once.names.size());
        m_nameCount += once.names.size();
        m_recent.push_front(id);
        once.recent = m_recent.begin();
        m_byWatch[watch] = id;
        return &(m_byId[id] = std::move(once));
    }

    // False when the directory read is not the one identified (replaced
    // since) or cannot be read.
    static bool ReadNames(const char* path, const DirectoryId& id, DirectoryIndex& index) {
        DIR* stream = ::opendir(path);
        if (stream == nullptr) {
            return false;
        }
        struct stat info {};
        const bool ok =
            ::fstat(::dirfd(stream), &info) == 0 && DirectoryId{info.st_dev, info.st_ino} == id;
        while (const dirent* entry = ok ? ::readdir(stream) : nullptr) {
            if (!IsDotOrDotDot(entry->d_name)) {
                index.names.emplace(FoldedName(entry->d_name), entry->d_name);
            }
        }
        ::closedir(stream);
        return ok;
    }

    // Drops the least recently used indexes until `directories` more and
    // `names` more fit.
    void MakeRoom(size_t directories, size_t names) {
        while (!m_recent.empty() && (m_byId.size() + directories > kMaxIndexedDirectories ||
                                     m_nameCount + names > kMaxIndexedNames)) {
            Forget(m_recent.back(), true);
        }
    }

    void Forget(const DirectoryId& id, bool removeWatch) {
        const auto found = m_byId.find(id);
        if (found == m_byId.end()) {
            return;
        }
        if (removeWatch) {
            ::inotify_rm_watch(m_fd, found->second.watch);
        }
        m_byWatch.erase(found->second.watch);
        m_nameCount -= found->second.names.size();
        m_recent.erase(found->second.recent);
        m_byId.erase(found);
    }

    void ForgetAll() {
        while (!m_recent.empty()) {
            Forget(m_recent.back(), true);
        }
    }

    // Every change queued so far: those completed before this lookup began,
    // by any process, are among them.
    void ApplyChanges() {
        char* const buffer = m_events;
        for (;;) {
            // Never interrupted: a read of a non-blocking queue does not wait.
            const ssize_t got = ::read(m_fd, buffer, sizeof m_events);
            if (got <= 0) {
                if (got == 0 || errno != EAGAIN) {
                    ForgetAll();  // the queue can no longer be trusted
                }
                break;
            }
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                Apply(*event);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        MakeRoom(0, 0);
    }

    void Apply(const inotify_event& event) {
        if ((event.mask & IN_Q_OVERFLOW) != 0) {
            ForgetAll();
            return;
        }
        const auto watched = m_byWatch.find(event.wd);
        if (watched == m_byWatch.end()) {
            return;  // a watch given up since
        }
        if ((event.mask & IN_IGNORED) != 0) {
            Forget(watched->second, false);
            return;
        }
        if (event.len == 0) {
            return;
        }
        DirectoryIndex& index = m_byId[watched->second];
        const std::string name = event.name;
        std::string folded = FoldedName(name);
        auto [first, last] = index.names.equal_range(folded);
        while (first != last && first->second != name) {
            ++first;
        }
        const bool known = first != last;
        if ((event.mask & (IN_CREATE | IN_MOVED_TO)) != 0 && !known) {
            index.names.emplace(std::move(folded), name);
            ++m_nameCount;
        } else if ((event.mask & (IN_DELETE | IN_MOVED_FROM)) != 0 && known) {
            index.names.erase(first);
            --m_nameCount;
        }
    }

    std::mutex m_mutex;
    int m_fd = -1;
    std::map<DirectoryId, DirectoryIndex> m_byId;
    std::unordered_map<int, DirectoryId> m_byWatch;
    std::list<DirectoryId> m_recent;  // most recently used first
    size_t m_nameCount = 0;
    uint32_t m_codePage = 0;
    alignas(inotify_event) char m_events[64 * 1024];  // not on the stack of a host's thread
};

}  // namespace

bool FindInIndex(const std::string& directory, const std::string& component, IndexUse use,
                 std::string& spelling) {
    return FoldedIndex::Instance().Find(directory, component, use, spelling);
}

}  // namespace orvik::afx
