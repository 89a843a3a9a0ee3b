// The drive letters: each stands for the root of the file system, or for a
// directory that AfxMapDrive mapped it onto, held by a descriptor for as
// long as the mapping lasts. The rules for hosts are under "Names" in
// include/OrvikAfx.h.
#ifndef ORVIK_AFX_DRIVES_H
#define ORVIK_AFX_DRIVES_H

#include <memory>
#include <string>
#include <vector>

#include "descriptor.h"
#include "folded_index.h"

namespace orvik::afx {

// A drive mapped onto a directory.
struct Drive {
    Drive(Descriptor directory, std::vector<std::string> pathComponents, DirectoryId identity,
          bool followsLinksOut)
        : descriptor(std::move(directory)),
          components(std::move(pathComponents)),
          id(identity),
          wideLinks(followsLinksOut) {}

    Descriptor descriptor;  // O_PATH: the directory itself, whatever its name becomes
    // Its Linux path when it was mapped, for links that name it from the
    // root and for handing names back; empty when the kernel did not say.
    std::vector<std::string> components;
    bool pathKnown() const { return !components.empty(); }
    DirectoryId id;
    bool wideLinks;  // links may lead out of it (AFX_DRIVE_WIDE_LINKS)
};

// The drive that `letter` (an ASCII letter) stands for, or null when it
// stands for the root of the file system. The drive stays usable for as
// long as the caller holds it, even if it is mapped elsewhere meanwhile.
std::shared_ptr<const Drive> DriveOf(char letter);

// Maps `letter` onto the directory behind `directory` (an O_PATH
// descriptor, which the mapping keeps), or back onto the root when
// `directory` is not valid or is the root. `wideLinks`: links inside it
// may lead out of it. Returns 0 or an errno.
int MapDriveOnto(char letter, Descriptor directory, bool wideLinks);

// The host form of the absolute Linux path made of `components`: under the
// drive whose directory holds it most closely, ties and stale mappings
// settled as "Names handed back" in include/OrvikAfx.h says, else from the
// root ("\dir\file").
std::string HostFormOfLinuxPath(const std::vector<std::string>& components);

}  // namespace orvik::afx

#endif  // ORVIK_AFX_DRIVES_H
