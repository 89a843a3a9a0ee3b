#include "resolve.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <new>
#include <vector>

#include "drives.h"
#include "folded_index.h"
#include "host_name.h"
#include "name_fold.h"
#include "system_calls.h"

namespace orvik::afx {

namespace {

constexpr int kMostLinks = 40;  // as many as the kernel follows in one name
constexpr int kMostTries = 8;   // for a name that changes under every try
// What a step of the walk returns to go on with the link it met in place
// of its leaf, and to have the whole name tried again (it changed under the
// walk).
constexpr int kGoOn = -1;
constexpr int kTryAgain = -2;
constexpr unsigned kBeneath = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;

// Where a name starts: a mapped drive's directory, the root, or the current
// directory. A drive letter that is not mapped stands for the root.
struct Anchor {
    HostName::Start start = HostName::Start::currentDirectory;
    char letter = '\0';
    std::shared_ptr<const Drive> drive;

    explicit Anchor(const HostName& name) : start(name.start), letter(name.drive) {
        if (start == HostName::Start::drive) {
            drive = DriveOf(letter);
            start = drive != nullptr ? start : HostName::Start::root;
        }
    }
    // Nothing outside the drive's directory is reached from it.
    bool Bounded() const { return drive != nullptr && !drive->wideLinks; }
    int Fd() const { return drive != nullptr ? drive->descriptor.Get() : AT_FDCWD; }
};

DirectoryId IdOf(const struct stat& info) {
    return {info.st_dev, info.st_ino};
}

// The first `count` components as a path for the kernel, from the anchor's
// descriptor (absolute for a name from the root); a trailing slash when
// the name names a directory.
std::string KernelPath(const Anchor& anchor, const HostName& name, size_t count,
                       bool namesDirectory) {
    std::string path = anchor.start == HostName::Start::root ? "/" : "";
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) {
            path += '/';
        }
        path += name.components[i];
    }
    if (path.empty()) {
        return ".";
    }
    if (namesDirectory && count > 0) {
        path += '/';
    }
    return path;
}

// Opens `path` from the anchor as the kernel resolves it: beneath a drive's
// directory, or as any name from the root or the current directory. -1 with
// errno set on failure.
int KernelOpen(const Anchor& anchor, const std::string& path, int flags) {
    if (!anchor.Bounded()) {
        return Retried([&] { return Sys().openat(anchor.Fd(), path.c_str(), flags, 0); });
    }
    struct open_how how {};
    how.flags = static_cast<unsigned>(flags);
    how.resolve = kBeneath;
    return static_cast<int>(
        Retried([&] { return Sys().openat2(anchor.Fd(), path.c_str(), &how, sizeof how); }));
}

// Whether a refusal of the kernel's own resolution leaves the answer to the
// walk: a component that may be spelled otherwise (ENOENT), a link that the
// boundary check left to the library (EXDEV, ELOOP), a name that changed
// during the resolution (EAGAIN), a kernel or sandbox without openat2
// (ENOSYS, EPERM: the walk meets a real EPERM again).
bool WalkDecides(int failure) {
    return failure == ENOENT || failure == EXDEV || failure == ELOOP || failure == EAGAIN ||
           failure == ENOSYS || failure == EPERM;
}

void Assign(HandedBackName& host, const std::string& text) {
    host.assign(text.data(), text.size());
}

// The host form of the entry reached by `components` and then `leaf` (when
// not null) from the anchor, written into `host`.
void HandBack(const Anchor& anchor, const std::vector<std::string>& components,
              const std::string* leaf, HandedBackName& host) {
    if (anchor.start == HostName::Start::drive) {
        const char prefix[] = {anchor.letter, ':'};
        HostForm(std::string_view(prefix, sizeof prefix), components, 0, leaf, host);
        return;
    }
    if (anchor.start == HostName::Start::root) {
        if (leaf == nullptr) {
            Assign(host, HostFormOfLinuxPath(components));
            return;
        }
        std::vector<std::string> full(components);
        full.push_back(*leaf);
        Assign(host, HostFormOfLinuxPath(full));
        return;
    }
    char cwd[4096];
    char* got = nullptr;
    while ((got = Sys().getcwd(cwd, sizeof cwd)) == nullptr && errno == EINTR) {
    }
    if (got == nullptr || cwd[0] != '/') {
        host.clear();  // the current directory has no name (removed since)
        return;
    }
    std::vector<std::string> full = LinuxComponents(cwd);
    const auto add = [&full](const std::string& component) {
        if (!IsDotDot(component)) {
            full.push_back(component);
        } else if (!full.empty()) {
            full.pop_back();
        }
    };
    for (const std::string& component : components) {
        add(component);
    }
    if (leaf != nullptr) {
        add(*leaf);
    }
    Assign(host, HostFormOfLinuxPath(full));
}

// Room for the names that a call hands back: two of them (the kernel's try
// and the walk's) of nearly any length fit.
constexpr size_t kHandedBackRoom = 1024;

// A name being resolved component by component from its anchor.
class Walk {
public:
    Walk(const Anchor& anchor, const HostName& name) : m_anchor(anchor), m_name(name) {
        m_dir = anchor.start == HostName::Start::root ? -1 : anchor.Fd();
        if (anchor.drive != nullptr) {
            m_id = anchor.drive->id;
            m_idKnown = true;
        }
    }

    const HostName& Name() const { return m_name; }
    bool Bounded() const { return m_anchor.Bounded(); }
    // The walk opened a directory by the kernel's resolution and cannot
    // follow a link from there; the next try walks from the anchor.
    bool WantsFullWalk() const { return m_wantsFullWalk; }

    // The name's last component has been found missing by the kernel
    // already, so the first try of it is spared.
    void LeafKnownMissing() { m_leafMissing = true; }

    // Opens the directory that holds the last component by the kernel's
    // resolution in one call, when the name has more than one component.
    // Where that fails, the walk finds out why component by component.
    void SeedParent(bool allowed) {
        const size_t count = m_name.components.size();
        const bool oneComponent = count == 1;
        const int fd = allowed && count >= 2
                           ? KernelOpen(m_anchor, KernelPath(m_anchor, m_name, count - 1, false),
                                        O_PATH | O_DIRECTORY | O_CLOEXEC)
                           : -1;
        if (fd < 0) {
            // The leaf is known to be missing only from the directory that
            // the kernel found by the name's own spelling.
            m_leafMissing = m_leafMissing && oneComponent;
            return;
        }
        Hold(Descriptor(fd));
        m_idKnown = false;
        m_seeded = true;
        m_walked.assign(m_name.components.begin(), m_name.components.end() - 1);
        m_nextOwn = count - 1;
    }

    // Enters every directory on the way to the last part.
    int ToLeaf() {
        while (Remaining() > 1) {
            int failure = 0;
            if (!m_linkParts.empty()) {
                const std::string part = std::move(m_linkParts.back());
                m_linkParts.pop_back();
                failure = Enter(part, false);
            } else {
                failure = Enter(m_name.components[m_nextOwn++], true);
            }
            if (failure != 0) {
                return failure;
            }
        }
        return 0;
    }

    // The last part: the name's own last component, one of a link's target,
    // or "." for a name that is where it starts.
    const std::string& Leaf() const {
        static const std::string kItself = ".";
        if (!m_linkParts.empty()) {
            return m_linkParts.back();
        }
        return m_nextOwn < m_name.components.size() ? m_name.components[m_nextOwn] : kItself;
    }
    bool LeafIsOwn() const { return m_linkParts.empty(); }
    bool LeafIsDirectoryItself() const { return IsDot(Leaf()); }

    // The directory that holds the leaf; the root and the current
    // directory are opened when first needed.
    int Dir() {
        if (m_dir < 0 && m_dir != AT_FDCWD) {
            Hold(Descriptor(Retried(
                [&] { return Sys().openat(AT_FDCWD, "/", O_PATH | O_DIRECTORY | O_CLOEXEC, 0); })));
        }
        return m_dir;
    }

    // The directory as a real descriptor (not AT_FDCWD), for the index.
    int DirFd() {
        if (Dir() != AT_FDCWD) {
            return m_dir;
        }
        if (!m_here.Valid()) {
            m_here.Reset(Retried(
                [&] { return Sys().openat(AT_FDCWD, ".", O_PATH | O_DIRECTORY | O_CLOEXEC, 0); }));
        }
        return m_here.Get();
    }

    int Id(DirectoryId& id) {
        if (!m_idKnown) {
            struct stat info {};
            const int fd = DirFd();
            if (fd < 0) {
                return errno;
            }
            if (Retried([&] { return Sys().fstat(fd, &info); }) != 0) {
                return errno;
            }
            m_id = IdOf(info);
            m_idKnown = true;
        }
        id = m_id;
        return 0;
    }

    // Runs `attempt` on the leaf's spelling on disk: the spelling given,
    // else the one that matches it in another case (Spell). A directory
    // whose index knows better is asked first. Returns what `attempt`
    // returned, or ENOENT with `spelling` as given when no entry matches.
    template <typename Attempt>
    int TrySpellings(Attempt attempt, std::string& spelling) {
        const std::string& given = Leaf();
        spelling = given;
        if (IsDot(given) || IsDotDot(given)) {
            return attempt(given);
        }
        if (m_idKnown && IndexComesFirst(m_id)) {
            IndexAnswer answer = IndexAnswer::kNoIndex;
            if (const int failure =
                    FindInIndex(DirFd(), m_id, given, IndexUse::kIfCurrent, answer, spelling)) {
                return failure;
            }
            if (answer != IndexAnswer::kNoIndex) {
                return answer == IndexAnswer::kMissing ? NotFound(spelling)
                                                       : Again(attempt(spelling));
            }
            spelling = given;
        }
        if (!std::exchange(m_leafMissing, false)) {
            const int result = attempt(given);
            if (result != ENOENT) {
                return result;
            }
        }
        if (const int failure = Spell(given, spelling)) {
            return failure;
        }
        return spelling.empty() ? NotFound(spelling) : Again(attempt(spelling));
    }

    // Follows the link `name` of the directory that holds the leaf: the
    // target's components take the leaf's place.
    int FollowLeafLink(const std::string& name) {
        const bool own = LeafIsOwn();
        if (own) {
            ++m_nextOwn;
        } else {
            m_linkParts.pop_back();
        }
        const int failure = FollowLink(Dir(), name, own);
        return failure != 0 ? failure : kGoOn;
    }

    // The name handed back for the leaf found as `spelling`.
    void HandBackLeaf(const std::string& spelling, HandedBackName& host) const {
        const bool own = LeafIsOwn() && !IsDot(spelling);
        HandBack(m_anchor, m_walked, own ? &spelling : nullptr, host);
    }

private:
    void Hold(Descriptor dir) {
        m_held = std::move(dir);
        m_dir = m_held.Get();
    }

    static int NotFound(std::string& spelling) {
        spelling.clear();
        return ENOENT;
    }

    // An entry that the index named and the disk then did not have went
    // meanwhile: the name is tried again.
    static int Again(int result) { return result == ENOENT ? kTryAgain : result; }

    // The spelling on disk of `component`, which is missing as given:
    // what the directory's current index says, else the lower-case
    // spelling, else what a read of the directory says. Empty when no entry
    // matches. Fails with the cause when the directory cannot be read: a
    // spelling is never guessed.
    int Spell(const std::string& component, std::string& spelling) {
        DirectoryId id;
        if (const int failure = Id(id)) {
            return failure;
        }
        IndexAnswer answer = IndexAnswer::kNoIndex;
        if (const int failure =
                FindInIndex(DirFd(), id, component, IndexUse::kIfCurrent, answer, spelling)) {
            return failure;
        }
        if (answer == IndexAnswer::kNoIndex) {
            const std::string lower = LowerName(component);
            if (lower != component) {
                struct stat info {};
                if (Retried([&] {
                        return Sys().fstatat(Dir(), lower.c_str(), &info, AT_SYMLINK_NOFOLLOW);
                    }) == 0) {
                    spelling = lower;
                    return 0;
                }
                if (errno != ENOENT) {
                    return errno;
                }
            }
            if (const int failure = FindInIndex(DirFd(), id, component, IndexUse::kReadIfNeeded,
                                                answer, spelling)) {
                return failure;
            }
        }
        if (answer != IndexAnswer::kFound) {
            spelling.clear();
        }
        return 0;
    }

    // Opens the entry `name` of the current directory itself, a link not
    // followed, and tells what it is.
    int OpenEntry(const std::string& name, Descriptor& entry, struct stat& info) {
        entry.Reset(Retried(
            [&] { return Sys().openat(Dir(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC, 0); }));
        if (!entry.Valid()) {
            return errno;
        }
        return Retried([&] { return Sys().fstat(entry.Get(), &info); }) == 0 ? 0 : errno;
    }

    // Steps into the directory that `part` names, or follows it when it is
    // a link. `own`: a component of the name itself, not of a link's target.
    int Enter(const std::string& part, bool own) {
        if (IsDot(part)) {
            return 0;
        }
        if (IsDotDot(part)) {
            return Climb(own);
        }
        Descriptor entry;
        struct stat info {};
        std::string spelling = part;
        int failure = OpenEntry(part, entry, info);
        if (failure == ENOENT) {
            failure = Spell(part, spelling);
            if (failure == 0) {
                failure = spelling.empty() ? ENOENT : Again(OpenEntry(spelling, entry, info));
            }
        }
        if (failure != 0) {
            return failure;
        }
        if (S_ISLNK(info.st_mode)) {
            if (own) {
                m_walked.push_back(spelling);
            }
            return FollowLink(entry.Get(), "", false);
        }
        if (!S_ISDIR(info.st_mode)) {
            return ENOTDIR;
        }
        Hold(std::move(entry));
        m_id = IdOf(info);
        m_idKnown = true;
        m_trail.push_back(m_id);
        if (own) {
            m_walked.push_back(spelling);
        }
        return 0;
    }

    // Steps up. Inside a drive the directory above is the one the walk came
    // from, checked by its identity: a directory moved away meanwhile makes
    // the name try again rather than climb where it now stands. Above the
    // top of a drive nothing is reached; above the start of a name from the
    // root or the current directory, what the kernel reaches.
    int Climb(bool own) {
        if (m_seeded) {
            m_wantsFullWalk = true;
            return kTryAgain;
        }
        if (own) {
            m_walked.push_back("..");
        }
        if (m_trail.empty() && m_anchor.Bounded()) {
            return EACCES;  // out of the drive
        }
        if (m_trail.size() == 1 && m_anchor.drive != nullptr) {
            m_trail.clear();
            m_held.Reset();
            m_dir = m_anchor.Fd();
            m_id = m_anchor.drive->id;
            m_idKnown = true;
            return 0;
        }
        Descriptor parent(Retried(
            [&] { return Sys().openat(Dir(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC, 0); }));
        struct stat info {};
        if (!parent.Valid() || Retried([&] { return Sys().fstat(parent.Get(), &info); }) != 0) {
            return errno;
        }
        if (!m_trail.empty()) {
            if (m_trail.size() >= 2 && m_trail[m_trail.size() - 2] != IdOf(info)) {
                return kTryAgain;
            }
            m_trail.pop_back();
        }
        Hold(std::move(parent));
        m_id = IdOf(info);
        m_idKnown = true;
        return 0;
    }

    // Reads the link `name` of the directory `dir` and puts its target's
    // components in its place. A relative target goes on from the link's
    // directory. An absolute one starts at the root, or, inside a drive, at
    // the drive's directory when the target lies inside it; any other is
    // refused.
    int FollowLink(int dir, const std::string& name, bool own) {
        if (++m_links > kMostLinks) {
            return ELOOP;
        }
        if (m_seeded) {
            m_wantsFullWalk = true;
            return kTryAgain;
        }
        char target[4096];
        const ssize_t length =
            Retried([&] { return Sys().readlinkat(dir, name.c_str(), target, sizeof target); });
        if (length < 0) {
            return errno == EINVAL ? kTryAgain : errno;  // no longer a link
        }
        if (static_cast<size_t>(length) >= sizeof target) {
            return ENAMETOOLONG;
        }
        if (own) {
            m_walked.push_back(name);
        }
        std::vector<std::string> parts =
            SplitTarget(std::string(target, static_cast<size_t>(length)));
        if (target[0] == '/') {
            if (const int failure = StartOver(parts)) {
                return failure;
            }
        }
        for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
            m_linkParts.push_back(std::move(*part));
        }
        if (Remaining() == 0) {
            m_linkParts.emplace_back(".");  // the link names a directory on the way itself
        }
        return 0;
    }

    static std::vector<std::string> SplitTarget(const std::string& target) {
        std::vector<std::string> parts;
        size_t start = 0;
        while (start <= target.size()) {
            size_t end = target.find('/', start);
            end = end == std::string::npos ? target.size() : end;
            std::string part = target.substr(start, end - start);
            if (!part.empty() && !IsDot(part)) {
                parts.push_back(std::move(part));
            }
            start = end + 1;
        }
        return parts;
    }

    // An absolute link's target: back to the drive's directory with the
    // part of the target below it, or to the root.
    int StartOver(std::vector<std::string>& parts) {
        m_trail.clear();
        if (!m_anchor.Bounded()) {
            m_held.Reset();
            m_dir = -1;  // the root, opened when needed
            m_idKnown = false;
            return 0;
        }
        const Drive& drive = *m_anchor.drive;
        const bool inside =
            drive.pathKnown() && drive.components.size() <= parts.size() &&
            std::equal(drive.components.begin(), drive.components.end(), parts.begin());
        if (!inside) {
            return EACCES;  // the link leads out of the drive
        }
        parts.erase(parts.begin(), parts.begin() + static_cast<long>(drive.components.size()));
        m_held.Reset();
        m_dir = drive.descriptor.Get();
        m_id = drive.id;
        m_idKnown = true;
        return 0;
    }

    const Anchor& m_anchor;
    const HostName& m_name;
    // What is still to resolve: the parts of links' targets, the next one
    // last, then the name's own components from m_nextOwn on.
    size_t Remaining() const {
        const size_t own = m_name.components.empty() ? 1 : m_name.components.size();
        return m_linkParts.size() + (own > m_nextOwn ? own - m_nextOwn : 0);
    }
    std::vector<std::string> m_linkParts;
    size_t m_nextOwn = 0;
    Descriptor m_held;  // the directory reached, when the walk opened it
    Descriptor m_here;  // the current directory, opened for the index
    int m_dir = AT_FDCWD;
    DirectoryId m_id{};
    bool m_idKnown = false;
    std::vector<DirectoryId> m_trail;   // the directories entered below the anchor
    std::vector<std::string> m_walked;  // the name's own components as found
    int m_links = 0;
    bool m_seeded = false;
    bool m_wantsFullWalk = false;
    bool m_leafMissing = false;
};

// Resolves `name` and runs `act` on the walk that stands at its leaf.
// `kernel(anchor, walk)` first asks the kernel to resolve the whole name in
// one call: it returns 0 or a failure when that settled it, or ENOENT-like
// failures (WalkDecides) to leave it to the walk. A name that changed under
// the walk (kTryAgain) is tried again, a few times, then fails with EAGAIN.
template <typename Kernel, typename Act>
int Resolve(const char* name, Kernel kernel, Act act) {
    if (name == nullptr || *name == '\0') {
        return ENOENT;
    }
    try {
        const HostName parsed = ParseHostName(name);
        bool seed = true;
        int result = kTryAgain;
        for (int attempt = 0; attempt < kMostTries && result == kTryAgain; ++attempt) {
            const Anchor anchor(parsed);
            Walk walk(anchor, parsed);
            result = attempt == 0 ? kernel(anchor, walk) : ENOENT;
            if (!WalkDecides(result)) {
                return result;
            }
            walk.SeedParent(seed);
            do {
                result = walk.ToLeaf();
                if (result == 0) {
                    result = act(walk);
                }
            } while (result == kGoOn);
            seed = seed && !walk.WantsFullWalk();
        }
        return result == kTryAgain ? EAGAIN : result;
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

// Removes the file `made` (open as `file`) from the walk's directory, while
// it is still empty: a byte that another opener wrote into it meanwhile is
// never lost. False when it stays.
bool RemoveIfStillEmpty(Walk& walk, const std::string& made, const Descriptor& file) {
    struct stat info {};
    if (Retried([&] { return Sys().fstat(file.Get(), &info); }) != 0 || info.st_size != 0) {
        return false;
    }
    return Retried([&] { return Sys().unlinkat(walk.Dir(), made.c_str(), 0); }) == 0;
}

// After `made` was made in the walk's directory under the spelling the host
// gave: when another spelling of it was there first (another process made
// it meanwhile), or whether one was cannot be told, what this call made goes
// again (a file only while still empty), so that no name is ever there in
// two spellings by this call's doing, and the name is tried again, to find
// the other.
int GiveWayToEarlierTwin(Walk& walk, const std::string& made, const Descriptor* file) {
    DirectoryId id;
    int failure = walk.Id(id);
    std::string twin;
    if (failure == 0) {
        failure = FindEarlierTwin(walk.DirFd(), id, made, twin);
    }
    if (failure == 0 && twin.empty()) {
        return 0;
    }
    if (file != nullptr) {
        if (!RemoveIfStillEmpty(walk, made, *file)) {
            return 0;
        }
    } else {
        Retried([&] { return Sys().unlinkat(walk.Dir(), made.c_str(), AT_REMOVEDIR); });
    }
    return failure != 0 ? failure : kTryAgain;
}

// Makes the leaf a file under the spelling the host gave, no entry of any
// spelling matching it.
int CreateLeaf(Walk& walk, int flags, Descriptor& file) {
    if (walk.Name().namesDirectory) {
        return EISDIR;
    }
    const std::string& leaf = walk.Leaf();
    file.Reset(Retried([&] {
        return Sys().openat(walk.Dir(), leaf.c_str(), flags | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
    }));
    if (!file.Valid()) {
        return errno == EEXIST ? kTryAgain : errno;  // made meanwhile: found at the next try
    }
    const int failure = GiveWayToEarlierTwin(walk, leaf, &file);
    if (failure != 0) {
        file.Reset();
    }
    return failure;
}

// Makes the leaf a directory under the spelling the host gave.
int MakeLeafDirectory(Walk& walk) {
    const std::string& leaf = walk.Leaf();
    if (Retried([&] { return Sys().mkdirat(walk.Dir(), leaf.c_str(), 0777); }) != 0) {
        return errno;
    }
    return GiveWayToEarlierTwin(walk, leaf, nullptr);
}

// For the operations that leave the whole name to the walk.
int NoKernelTry(const Anchor&, Walk&) {
    return ENOENT;
}

int ErrnoOf(int result) {
    return result < 0 ? errno : 0;
}

}  // namespace

int OpenByName(const char* name, int flags, const Preparation& prepare, Descriptor& file) {
    const bool create = (flags & O_CREAT) != 0;
    const int plain = flags & ~(O_CREAT | O_EXCL | O_TRUNC);
    bool prepared = false;
    char room[kHandedBackRoom];
    std::pmr::monotonic_buffer_resource arena(room, sizeof room);
    HandedBackName handedBack(&arena);
    const auto kernel = [&](const Anchor& anchor, Walk& walk) {
        const HostName& parsed = walk.Name();
        if (parsed.components.size() < 2 && !parsed.namesDirectory) {
            return ENOENT;  // one component: the walk's first try is the kernel's
        }
        const std::string path =
            KernelPath(anchor, parsed, parsed.components.size(), parsed.namesDirectory);
        HandBack(anchor, parsed.components, nullptr, handedBack);
        file.Reset(KernelOpen(anchor, path, plain));
        if (!file.Valid()) {
            const int failure = errno;
            if (failure == ENOENT) {
                walk.LeafKnownMissing();
            }
            return failure;
        }
        return 0;
    };
    const auto act = [&](Walk& walk) {
        const int directory = walk.Name().namesDirectory ? O_DIRECTORY : 0;
        std::string spelling;
        int result = walk.TrySpellings(
            [&](const std::string& s) {
                file.Reset(Retried([&] {
                    return Sys().openat(walk.Dir(), s.c_str(), plain | directory | O_NOFOLLOW, 0);
                }));
                return file.Valid() ? 0 : errno;
            },
            spelling);
        if (result == ELOOP) {
            return walk.FollowLeafLink(spelling);
        }
        if (result == 0) {
            walk.HandBackLeaf(spelling, handedBack);
        } else if (result == ENOENT && create) {
            walk.HandBackLeaf(walk.Leaf(), handedBack);
            result = CreateLeaf(walk, plain, file);
            if (result == 0) {
                // Made here: a file that cannot be readied goes again.
                prepared = true;
                result = prepare(file, true, handedBack);
                if (result != 0) {
                    RemoveIfStillEmpty(walk, walk.Leaf(), file);
                }
            }
        }
        return result;
    };
    int result = Resolve(name, kernel, act);
    if (result == 0 && !prepared) {
        result = prepare(file, false, handedBack);
    }
    if (result != 0) {
        file.Reset();
    }
    return result;
}

int StatusByName(const char* name, struct stat& info, HandedBackName& handedBack) {
    const auto kernel = [&](const Anchor& anchor, Walk& walk) {
        const HostName& parsed = walk.Name();
        if (anchor.Bounded()) {
            return ENOENT;
        }
        const std::string path =
            KernelPath(anchor, parsed, parsed.components.size(), parsed.namesDirectory);
        if (Retried([&] { return Sys().fstatat(anchor.Fd(), path.c_str(), &info, 0); }) != 0) {
            return errno;
        }
        HandBack(anchor, parsed.components, nullptr, handedBack);
        return 0;
    };
    const auto act = [&](Walk& walk) {
        std::string spelling;
        const int result = walk.TrySpellings(
            [&](const std::string& s) {
                return ErrnoOf(Retried([&] {
                    return Sys().fstatat(walk.Dir(), s.c_str(), &info, AT_SYMLINK_NOFOLLOW);
                }));
            },
            spelling);
        if (result != 0) {
            return result;
        }
        if (S_ISLNK(info.st_mode)) {
            return walk.FollowLeafLink(spelling);
        }
        if (walk.Name().namesDirectory && !S_ISDIR(info.st_mode)) {
            return ENOTDIR;
        }
        walk.HandBackLeaf(spelling, handedBack);
        return 0;
    };
    return Resolve(name, kernel, act);
}

int RemoveByName(const char* name) {
    const auto act = [&](Walk& walk) {
        if (walk.LeafIsDirectoryItself() || walk.Name().namesDirectory) {
            return EISDIR;
        }
        std::string spelling;
        return walk.TrySpellings(
            [&](const std::string& s) {
                return ErrnoOf(Retried([&] { return Sys().unlinkat(walk.Dir(), s.c_str(), 0); }));
            },
            spelling);
    };
    return Resolve(name, NoKernelTry, act);
}

int MakeDirectoryByName(const char* name) {
    const auto act = [&](Walk& walk) {
        std::string spelling;
        struct stat info {};
        const int result = walk.TrySpellings(
            [&](const std::string& s) {
                return ErrnoOf(Retried([&] {
                    return Sys().fstatat(walk.Dir(), s.c_str(), &info, AT_SYMLINK_NOFOLLOW);
                }));
            },
            spelling);
        if (result != ENOENT) {
            return result == 0 ? EEXIST : result;
        }
        return MakeLeafDirectory(walk);
    };
    return Resolve(name, NoKernelTry, act);
}

int DirectoryByName(const char* name, Descriptor& directory) {
    const auto kernel = [&](const Anchor& anchor, Walk& walk) {
        const HostName& parsed = walk.Name();
        const std::string path = KernelPath(anchor, parsed, parsed.components.size(), true);
        if (anchor.start == HostName::Start::drive && parsed.components.empty()) {
            return ENOENT;  // the drive itself: the walk opens it
        }
        directory.Reset(KernelOpen(anchor, path, O_PATH | O_DIRECTORY | O_CLOEXEC));
        return directory.Valid() ? 0 : errno;
    };
    const auto act = [&](Walk& walk) {
        std::string spelling;
        struct stat info {};
        const int result = walk.TrySpellings(
            [&](const std::string& s) {
                directory.Reset(Retried([&] {
                    return Sys().openat(walk.Dir(), s.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC, 0);
                }));
                if (!directory.Valid()) {
                    return errno;
                }
                return ErrnoOf(Retried([&] { return Sys().fstat(directory.Get(), &info); }));
            },
            spelling);
        if (result != 0) {
            return result;
        }
        if (S_ISLNK(info.st_mode)) {
            return walk.FollowLeafLink(spelling);
        }
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    };
    return Resolve(name, kernel, act);
}

int ChangeDirectoryByName(const char* name) {
    Descriptor directory;
    if (const int failure = DirectoryByName(name, directory)) {
        return failure;
    }
    return Retried([&] { return Sys().fchdir(directory.Get()); }) == 0 ? 0 : errno;
}

int LinuxPathByName(const char* name, std::string& path) {
    const auto act = [&](Walk& walk) {
        std::string spelling;
        struct stat info {};
        Descriptor entry;
        const int result = walk.TrySpellings(
            [&](const std::string& s) {
                entry.Reset(Retried([&] {
                    return Sys().openat(walk.Dir(), s.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC, 0);
                }));
                if (!entry.Valid()) {
                    return errno;
                }
                return ErrnoOf(Retried([&] { return Sys().fstat(entry.Get(), &info); }));
            },
            spelling);
        if (result == 0 && S_ISLNK(info.st_mode)) {
            return walk.FollowLeafLink(spelling);
        }
        if (result != 0 && result != ENOENT) {
            return result;
        }
        path = result == 0 ? PathOfDescriptor(entry.Get()) : PathOfDescriptor(walk.DirFd());
        if (path.empty()) {
            return ENOENT;
        }
        if (result == ENOENT) {
            path += (path == "/" ? "" : "/") + walk.Leaf();
        }
        return 0;
    };
    return Resolve(name, NoKernelTry, act);
}

}  // namespace orvik::afx
