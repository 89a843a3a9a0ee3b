// How a name handed in reaches its entry on disk, for every by-name
// operation of the platform classes. The rules for hosts are under "Names"
// in include/OrvikAfx.h; this is how they are kept.
//
// A name starts at a descriptor: a mapped drive's directory (held open since
// it was mapped), or, for a name from the root or from the current
// directory, AT_FDCWD. A drive is a boundary: nothing outside its directory
// is reached from it, through ".." or through links.
//
// Where the name is spelled as on disk, the kernel resolves it in one call:
// openat2(2) with RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS from a drive's
// descriptor, a plain call from AT_FDCWD. Otherwise (a component whose case
// differs from the disk, a link that leaves the kernel's boundary check to
// the library, a kernel without openat2) the name is walked component by
// component: each directory opened with O_PATH | O_NOFOLLOW relative to the
// one before, each link read and followed by the library inside the same
// boundary, each component found in any case through the directory's folded
// index (folded_index.h). Both ways give the same answers.
//
// RESOLVE_BENEATH rather than RESOLVE_IN_ROOT: a link that leads out of a
// drive is refused, never quietly taken to mean a place inside it. A link
// whose target is an absolute path inside the drive's directory (as it was
// when mapped) is followed there; any other absolute link, and a ".." that
// climbs above the drive, is refused with EACCES.
//
// Names handed back are made from what the walk found: the drive (or, for a
// name from the root or the current directory, the drive that holds the
// entry most closely) and each of the name's own components as spelled on
// disk, never by cutting a path that the kernel gave.
//
// Each function returns 0 or the errno that refuses the name; ENOMEM when
// memory ran out on the way. None throws.
#ifndef ORVIK_AFX_RESOLVE_H
#define ORVIK_AFX_RESOLVE_H

#include <sys/stat.h>

#include <memory_resource>
#include <string>

#include "descriptor.h"

namespace orvik::afx {

// A name handed back, made in a room of the caller's frame where it fits,
// as nearly every name does, so that handing it back allocates nothing.
using HandedBackName = std::pmr::string;

// Readies a file just opened (`created`: this call made it; `handedBack`:
// the name that reached it, as handed back), or refuses it with an errno:
// a reference to the caller's callable, for the length of the call.
class Preparation {
public:
    template <typename Callable>
    Preparation(Callable& callable)  // NOLINT(google-explicit-constructor): a reference
        : m_callable(&callable),
          m_call(
              [](void* object, Descriptor& file, bool created, const HandedBackName& handedBack) {
                  return (*static_cast<Callable*>(object))(file, created, handedBack);
              }) {}
    int operator()(Descriptor& file, bool created, const HandedBackName& handedBack) const {
        return m_call(m_callable, file, created, handedBack);
    }

private:
    void* m_callable;
    int (*m_call)(void*, Descriptor&, bool, const HandedBackName&);
};

// Opens the entry that `name` reaches with open(2) `flags` (O_CREAT creates
// a missing entry under the spelling the host gave, unless an entry of
// another spelling exists; O_TRUNC is never passed: emptying waits for the
// share lock) and has `prepare` ready it. Everything that allocates comes
// before the entry is made: a file that this call made and `prepare`
// refused is removed again while it is still empty.
int OpenByName(const char* name, int flags, const Preparation& prepare, Descriptor& file);

// The status of the entry that `name` reaches, links followed.
int StatusByName(const char* name, struct stat& info, HandedBackName& handedBack);

// Removes the entry that `name` reaches (a link itself, not its target);
// a directory is refused with EISDIR.
int RemoveByName(const char* name);

// Makes the directory that `name` names, with mode 0777 less the umask.
int MakeDirectoryByName(const char* name);

// Makes the directory that `name` reaches the current directory.
int ChangeDirectoryByName(const char* name);

// An O_PATH descriptor of the directory that `name` reaches.
int DirectoryByName(const char* name, Descriptor& directory);

// The Linux path of the entry that `name` reaches, or, when it does not
// exist, of the place where it would be made.
int LinuxPathByName(const char* name, std::string& path);

}  // namespace orvik::afx

#endif  // ORVIK_AFX_RESOLVE_H
