// What reading a directory taught about its names, kept so that a name
// whose case differs from the disk costs no read of the directory the next
// time. The index is kept true by the kernel's change notification
// (inotify): every change to an indexed directory that completed before a
// lookup began, by any process, is applied before the lookup answers; when
// the kernel's queue of changes overflows, every index is dropped.
//
// Only directories on local file systems whose changes the kernel reports
// (ext2/3/4, tmpfs, XFS, Btrfs, F2FS, ...) are indexed; on NFS, CIFS, FUSE
// and every other kind, and when the kernel refuses a watch, every lookup
// reads the directory as it always did. Bounded: at most
// kMaxIndexedDirectories directories and kMaxIndexedNames names in all,
// the least recently used dropped first. Safe from any thread.
#ifndef ORVIK_AFX_FOLDED_INDEX_H
#define ORVIK_AFX_FOLDED_INDEX_H

#include <cstddef>
#include <string>

namespace orvik::afx {

constexpr size_t kMaxIndexedDirectories = 64;
constexpr size_t kMaxIndexedNames = 200000;

enum class IndexUse {
    kIfCurrent,     // answer only from an index kept since an earlier read
    kReadIfNeeded,  // read the directory into a new index when there is none
};

// Looks for the entry of `directory` (a name for the kernel; empty is the
// current directory) that matches `component` without regard to case (see
// FoldedName), `component` itself being known to be missing: the one
// LowerName gives, else the byte-wise smallest. True when it answered;
// `spelling` is then that entry's name, or empty when no entry matches.
// False when no index is current (with kIfCurrent) or the directory cannot
// be read. With kReadIfNeeded a directory that is not indexed is read for
// this one answer.
bool FindInIndex(const std::string& directory, const std::string& component, IndexUse use,
                 std::string& spelling);

}  // namespace orvik::afx

#endif  // ORVIK_AFX_FOLDED_INDEX_H
