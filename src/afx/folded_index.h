// What reading a directory taught about its names, kept so that a name
// whose case differs from the disk costs no read of the directory the next
// time. Rules and costs for hosts are under "Names" in include/OrvikAfx.h;
// this is how the index keeps them.
//
// A directory is known by its identity (device and inode), taken from the
// descriptor that the caller resolved, never from a name: the watch is
// added through that descriptor (/proc/self/fd/N) and the listing read
// through it, so a directory swapped for another meanwhile can never be tied
// to the other's watch or names.
//
// The kernel's change notification (inotify) keeps an index true: every
// change to an indexed directory that completed before a lookup began, by
// any process, is applied before the lookup answers. Creations and
// deletions are taken as the events say. A move says less than it seems
// (two entries exchanged with RENAME_EXCHANGE, a rename over an existing
// entry and two renames in a row queue the same events), so each name that
// a move touched is marked uncertain and asked of the disk (fstatat) when a
// lookup next needs it. When the queue overflows, every index is dropped.
//
// Bounded: at most kMaxIndexedDirectories directories and kMaxIndexedNames
// names in all, the least recently used dropped first. Only file systems
// whose changes the kernel reports are indexed; others are read for each
// answer. Safe from any thread and across fork(): the child starts an
// index of its own.
#ifndef ORVIK_AFX_FOLDED_INDEX_H
#define ORVIK_AFX_FOLDED_INDEX_H

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <utility>

namespace orvik::afx {

constexpr size_t kMaxIndexedDirectories = 64;
constexpr size_t kMaxIndexedNames = 200000;

// A directory's identity: its device and inode.
using DirectoryId = std::pair<dev_t, ino_t>;

enum class IndexUse {
    kIfCurrent,     // answer only from an index kept since an earlier read
    kReadIfNeeded,  // read the directory (into a kept index where it can be kept)
};

enum class IndexAnswer {
    kFound,    // `spelling` is the entry that matches
    kMissing,  // no entry matches
    kNoIndex,  // kIfCurrent only: no index is kept for the directory
};

// Looks for the entry of the directory `dir` (any descriptor of it, O_PATH
// too, identity `id`) that matches `component` without regard to case (see
// FoldedName): the exact spelling, else the one LowerName gives, else the
// byte-wise smallest. Returns 0 with `answer` set, or the errno that kept
// the directory from being read (EACCES for a directory that can be
// searched but not listed, EMFILE, ENOMEM, ...).
int FindInIndex(int dir, const DirectoryId& id, const std::string& component, IndexUse use,
                IndexAnswer& answer, std::string& spelling);

// True when an index is kept for `id` and its last lookup did not find the
// spelling asked for: the next lookup then asks the index before the disk.
bool IndexComesFirst(const DirectoryId& id);

// After `created` has been made in `dir` (identity `id`) under the spelling
// the host gave: the name of another entry that matches it and was there
// first (or, where the order cannot be told, is byte-wise smaller), so that
// the caller gives way to it; empty when there is none. Returns 0, or the
// errno that kept the directory from being read.
int FindEarlierTwin(int dir, const DirectoryId& id, const std::string& created, std::string& twin);

}  // namespace orvik::afx

#endif  // ORVIK_AFX_FOLDED_INDEX_H
