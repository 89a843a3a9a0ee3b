#include "folded_index.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <pthread.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/statfs.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <list>
#include <map>
#include <mutex>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "OrvikSTR_Lib.h"
#include "descriptor.h"
#include "name_fold.h"
#include "system_calls.h"

namespace orvik::afx {

namespace {

// The changes of a directory's list of names, its own removal, and changes
// of its own rights: an index must not answer for a directory that this
// process may no longer list. The kernel adds IN_IGNORED when a watch ends
// and IN_Q_OVERFLOW when changes were lost.
constexpr uint32_t kNameChanges =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_ATTRIB | IN_ONLYDIR;

constexpr int kNoQueue = -1;
constexpr size_t kLargestEvent = sizeof(inotify_event) + NAME_MAX + 1;

// File systems on which the kernel reports every change to a directory,
// whichever process on this machine makes it. Overlay file systems report
// the changes made through them, and their layers are not to be changed
// beneath them. Network and FUSE file systems are changed where no
// notification reaches.
bool ChangesAreReported(int dir) {
    struct statfs info {};
    if (Retried([&] { return Sys().fstatfs(dir, &info); }) != 0) {
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

std::string ProcName(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

bool IsDotOrDotDot(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// One name of a directory. `order` tells which of two names came first: 0
// for the names of the first read, then the order in which their events
// arrived. A name that a move touched is `uncertain` until the disk is asked.
struct Name {
    std::string onDisk;
    uint64_t order = 0;
    bool uncertain = false;
};

struct DirectoryIndex {
    int watch = -1;
    bool exactLast = true;  // the last lookup found the spelling asked for
    std::unordered_multimap<std::string, Name> names;  // folded name -> name
    std::list<DirectoryId>::iterator recent;
};

// The names of one folded name: seldom more than one, so kept in place.
class Bucket {
public:
    using Entry = std::unordered_multimap<std::string, Name>::iterator;
    void push_back(Entry entry) {
        if (m_count < kInPlace) {
            m_inPlace[m_count] = entry;
        } else {
            m_more.push_back(entry);
        }
        ++m_count;
    }
    size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    Entry front() const { return m_inPlace[0]; }
    const Entry& operator[](size_t at) const {
        return at < kInPlace ? m_inPlace[at] : m_more[at - kInPlace];
    }

private:
    static constexpr size_t kInPlace = 4;
    Entry m_inPlace[kInPlace];
    std::vector<Entry> m_more;
    size_t m_count = 0;
};

class FoldedIndex {
public:
    FoldedIndex() {
        ::pthread_atfork([] { Instance().m_mutex.lock(); }, [] { Instance().m_mutex.unlock(); },
                         [] { Instance().RestartInChild(); });
    }

    static FoldedIndex& Instance();

    int Find(int dir, const DirectoryId& id, const std::string& component, IndexUse use,
             IndexAnswer& answer, std::string& spelling) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return Guarded([&] {
            PrepareLookup();
            DirectoryIndex* index = Touch(id);
            if (index != nullptr) {
                return Choose(dir, *index, component, answer, spelling);
            }
            if (use != IndexUse::kReadIfNeeded) {
                answer = IndexAnswer::kNoIndex;
                return 0;
            }
            DirectoryIndex once;  // the names of a directory that is not kept indexed
            if (const int failure = Read(dir, id, once, index)) {
                return failure;
            }
            return Choose(dir, *index, component, answer, spelling);
        });
    }

    bool ComesFirst(const DirectoryId& id) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = m_byId.find(id);
        return found != m_byId.end() && !found->second.exactLast;
    }

    int EarlierTwin(int dir, const DirectoryId& id, const std::string& created, std::string& twin) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return Guarded([&] {
            PrepareLookup();
            DirectoryIndex once;
            DirectoryIndex* index = Touch(id);
            if (index == nullptr) {
                if (const int failure = Read(dir, id, once, index)) {
                    return failure;
                }
            }
            Bucket bucket;
            if (const int failure = VerifiedBucket(dir, *index, FoldedName(created), bucket)) {
                return failure;
            }
            const Name* mine = nullptr;
            for (size_t at = 0; at < bucket.size(); ++at) {
                mine = bucket[at]->second.onDisk == created ? &bucket[at]->second : mine;
            }
            twin.clear();
            for (size_t at = 0; at < bucket.size(); ++at) {
                const Name& other = bucket[at]->second;
                if (mine != nullptr && &other != mine && Before(other, *mine) &&
                    (twin.empty() || other.onDisk < twin)) {
                    twin = other.onDisk;
                }
            }
            return 0;
        });
    }

private:
    // Runs `work` and keeps the index whole when memory runs out on the way:
    // every index is dropped (which allocates nothing) and ENOMEM returned.
    template <typename Work>
    int Guarded(Work work) {
        try {
            return work();
        } catch (const std::bad_alloc&) {
            ForgetAll();
            return ENOMEM;
        }
    }

    // The first name came first: it is older, or, where both come from one
    // read and their order is not known, byte-wise smaller.
    static bool Before(const Name& first, const Name& second) {
        if (first.order != second.order) {
            return first.order < second.order;
        }
        return first.onDisk < second.onDisk;
    }

    void PrepareLookup() {
        ApplyChanges();
        if (m_codePage != STR_GetCodePage()) {
            ForgetAll();  // folded in another code page
            m_codePage = STR_GetCodePage();
        }
    }

    // A child process shares the parent's queue of changes: it makes its
    // own when it first needs one.
    void RestartInChild() {
        if (m_queue != kNoQueue) {
            Sys().close(m_queue);
        }
        m_queue = kNoQueue;
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

    // The names of `index` that match `folded`, each asked of the disk when
    // a move left it uncertain: one that is gone leaves the index.
    int VerifiedBucket(int dir, DirectoryIndex& index, const std::string& folded, Bucket& bucket) {
        auto entry = index.names.find(folded);
        while (entry != index.names.end() && entry->first == folded) {
            if (!entry->second.uncertain) {
                bucket.push_back(entry++);
                continue;
            }
            struct stat info {};
            const char* name = entry->second.onDisk.c_str();
            if (Retried([&] { return Sys().fstatat(dir, name, &info, AT_SYMLINK_NOFOLLOW); }) ==
                0) {
                entry->second.uncertain = false;
                bucket.push_back(entry++);
            } else if (errno == ENOENT) {
                entry = index.names.erase(entry);  // the next one of the same name, if any
                --m_nameCount;
            } else {
                return errno;
            }
        }
        return 0;
    }

    // The exact spelling first, then the lower-case one, then the byte-wise
    // smallest: stable whatever order the directory lists its entries in.
    int Choose(int dir, DirectoryIndex& index, const std::string& component, IndexAnswer& answer,
               std::string& spelling) {
        Bucket bucket;
        if (const int failure = VerifiedBucket(dir, index, FoldedName(component), bucket)) {
            return failure;
        }
        const std::string* best = nullptr;
        if (bucket.size() == 1) {
            best = &bucket.front()->second.onDisk;  // the one spelling there is
        } else if (!bucket.empty()) {
            const std::string lower = LowerName(component);
            int rank = 3;  // 0 exact, 1 lower case, 2 any other
            for (size_t at = 0; at < bucket.size(); ++at) {
                const std::string& name = bucket[at]->second.onDisk;
                const int entryRank = name == component ? 0 : name == lower ? 1 : 2;
                if (entryRank < rank || (entryRank == rank && name < *best)) {
                    best = &name;
                    rank = entryRank;
                }
            }
        }
        index.exactLast = best != nullptr && *best == component;
        answer = best != nullptr ? IndexAnswer::kFound : IndexAnswer::kMissing;
        if (best != nullptr) {
            spelling = *best;
        } else {
            spelling.clear();
        }
        return 0;
    }

    // Reads the names of `dir` into `once`, and keeps them as its index when
    // the kernel reports its changes and they are not too many; `index` then
    // points to the kept index, else to `once`. The watch comes first, so
    // that no change is lost between the read and the watch; a change
    // during the read may come twice, which adding and removing by name take
    // in their stride.
    int Read(int dir, const DirectoryId& id, DirectoryIndex& once, DirectoryIndex*& index) {
        const int watch = AddWatch(dir);
        int failure = 0;
        try {
            failure = ReadNames(dir, once);
        } catch (const std::bad_alloc&) {
            DropUnusedWatch(watch);
            throw;
        }
        if (failure != 0 || watch < 0 || once.names.size() > kMaxIndexedNames) {
            DropUnusedWatch(watch);
            index = failure == 0 ? &once : nullptr;
            return failure;
        }
        MakeRoom(1, once.names.size());
        try {
            // What allocates comes first: a failure leaves nothing half kept.
            DirectoryIndex& kept = m_byId[id];
            m_byWatch[watch] = id;
            m_recent.push_front(id);
            kept = std::move(once);
            kept.watch = watch;
            kept.recent = m_recent.begin();
            m_nameCount += kept.names.size();
            index = &kept;
        } catch (const std::bad_alloc&) {
            m_byId.erase(id);
            m_byWatch.erase(watch);
            DropUnusedWatch(watch);
            throw;
        }
        return 0;
    }

    void DropUnusedWatch(int watch) {
        if (watch >= 0 && m_byWatch.count(watch) == 0) {
            Sys().inotify_rm_watch(m_queue, watch);
        }
    }

    // A watch on the directory behind the descriptor, or -1 where none can
    // be had (no queue of changes: inotify refused; a file system that does
    // not report changes; out of watches: fs.inotify.max_user_watches).
    int AddWatch(int dir) {
        if (m_queue == kNoQueue) {
            m_queue = Retried([] { return Sys().inotify_init1(IN_NONBLOCK | IN_CLOEXEC); });
            if (m_queue < 0) {
                m_queue = kNoQueue;
                return -1;
            }
        }
        if (!ChangesAreReported(dir)) {
            return -1;
        }
        const std::string name = ProcName(dir);
        return Retried(
            [&] { return Sys().inotify_add_watch(m_queue, name.c_str(), kNameChanges); });
    }

    int ReadNames(int dir, DirectoryIndex& index) {
        const Descriptor listing(
            Retried([&] { return Sys().openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0); }));
        if (!listing.Valid()) {
            return errno;
        }
        for (;;) {
            const ssize_t got = Retried(
                [&] { return Sys().getdents64(listing.Get(), m_listing, sizeof m_listing); });
            if (got < 0) {
                return errno;
            }
            if (got == 0) {
                return 0;
            }
            for (ssize_t at = 0; at < got;) {
                const auto* entry = reinterpret_cast<const dirent64*>(m_listing + at);
                if (!IsDotOrDotDot(entry->d_name)) {
                    index.names.emplace(FoldedName(entry->d_name), Name{entry->d_name});
                }
                at += entry->d_reclen;
            }
        }
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
            Sys().inotify_rm_watch(m_queue, found->second.watch);
        }
        m_byWatch.erase(found->second.watch);
        m_nameCount -= found->second.names.size();
        m_recent.erase(found->second.recent);
        m_byId.erase(found);
    }

    // Drops every index and watch; allocates nothing and needs no index to
    // be whole, so it also mends one that running out of memory left half
    // made.
    void ForgetAll() noexcept {
        for (const auto& watched : m_byWatch) {
            Sys().inotify_rm_watch(m_queue, watched.first);
        }
        m_byWatch.clear();
        m_byId.clear();
        m_recent.clear();
        m_nameCount = 0;
    }

    // Every change queued so far: those completed before this lookup began,
    // by any process, are among them.
    void ApplyChanges() {
        if (m_queue == kNoQueue) {
            return;
        }
        for (;;) {
            const ssize_t got =
                Retried([&] { return Sys().read(m_queue, m_events, sizeof m_events); });
            if (got <= 0) {
                if (got == 0 || errno != EAGAIN) {
                    ForgetAll();  // the queue can no longer be trusted
                }
                break;
            }
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(m_events + at);
                Apply(*event);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
            if (static_cast<size_t>(got) + kLargestEvent <= sizeof m_events) {
                break;  // the read had room for more: the queue was empty after it
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
        if ((event.mask & (IN_IGNORED | IN_DELETE_SELF)) != 0) {
            Forget(watched->second, (event.mask & IN_IGNORED) == 0);
            return;
        }
        if ((event.mask & IN_ATTRIB) != 0) {
            if (event.len == 0) {  // the directory's own rights or owner: list it again
                Forget(watched->second, true);
            }
            return;  // an entry's attributes leave the list of names as it is
        }
        if (event.len == 0) {
            return;
        }
        DirectoryIndex& index = m_byId[watched->second];
        const std::string name = event.name;
        std::string folded = FoldedName(name);
        auto [entry, last] = index.names.equal_range(folded);
        while (entry != last && entry->second.onDisk != name) {
            ++entry;
        }
        const bool known = entry != last;
        const bool moved = (event.mask & (IN_MOVED_FROM | IN_MOVED_TO)) != 0;
        if ((event.mask & IN_DELETE) != 0) {
            if (known) {
                index.names.erase(entry);
                --m_nameCount;
            }
        } else if (known) {
            entry->second.uncertain = moved;
        } else if ((event.mask & (IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM)) != 0) {
            index.names.emplace(std::move(folded), Name{name, ++m_order, moved});
            ++m_nameCount;
        }
    }

    std::mutex m_mutex;
    int m_queue = kNoQueue;
    std::map<DirectoryId, DirectoryIndex> m_byId;
    std::unordered_map<int, DirectoryId> m_byWatch;
    std::list<DirectoryId> m_recent;  // most recently used first
    size_t m_nameCount = 0;
    uint64_t m_order = 0;
    uint32_t m_codePage = 0;
    // Not on the stack of a host's thread.
    alignas(inotify_event) char m_events[64 * 1024];
    alignas(dirent64) char m_listing[64 * 1024];
};

// Made when the library is loaded, so that no thread is ever midway through
// making it when another forks.
FoldedIndex g_index;

FoldedIndex& FoldedIndex::Instance() {
    return g_index;
}

}  // namespace

int FindInIndex(int dir, const DirectoryId& id, const std::string& component, IndexUse use,
                IndexAnswer& answer, std::string& spelling) {
    return g_index.Find(dir, id, component, use, answer, spelling);
}

bool IndexComesFirst(const DirectoryId& id) {
    return g_index.ComesFirst(id);
}

int FindEarlierTwin(int dir, const DirectoryId& id, const std::string& created, std::string& twin) {
    return g_index.EarlierTwin(dir, id, created, twin);
}

}  // namespace orvik::afx
