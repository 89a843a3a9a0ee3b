#include "host_name.h"

#include <cstring>
#include <memory_resource>
#include <string_view>

namespace orvik::afx {

namespace {

// U+F000 plus the byte, in UTF-8: the stand-ins that the host form carries
// for the two characters of a Linux name that it reads as separators.
constexpr char kBackslashStandIn[] = "\xEF\x81\x9C";  // U+F05C
constexpr char kColonStandIn[] = "\xEF\x80\xBA";      // U+F03A
constexpr size_t kStandInLength = sizeof kBackslashStandIn - 1;

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool IsAsciiLetter(char c) {
    const char lower = static_cast<char>(c | 0x20);
    return lower >= 'a' && lower <= 'z';
}

bool IsDot(std::string_view component) {
    return component.size() == 1 && component[0] == '.';
}

bool IsDotDot(std::string_view component) {
    return component.size() == 2 && component[0] == '.' && component[1] == '.';
}

bool HoldsHostSeparator(const std::string& component) {
    return component.find('\\') != std::string::npos || component.find(':') != std::string::npos;
}

void AddComponent(HostName& parsed, std::string_view component) {
    if (component.empty() || IsDot(component)) {
        return;
    }
    if (!IsDotDot(component)) {
        // Made in place: a component seldom holds a stand-in to map back.
        std::string& added = parsed.components.emplace_back(component);
        if (component.find(kBackslashStandIn[0]) != std::string_view::npos) {
            added = LinuxComponent(added);
        }
    } else if (!parsed.components.empty() &&
               !IsDotDot(std::string_view(parsed.components.back()))) {
        parsed.components.pop_back();
    } else if (parsed.start == HostName::Start::currentDirectory) {
        parsed.components.emplace_back(component);  // climbs from the current directory
    }  // else: ".." at the top of a drive or of the root stays there
}

template <typename Text>
void AppendHostComponent(Text& out, const std::string& component) {
    if (!HoldsHostSeparator(component)) {
        out += component;
        return;
    }
    for (const char c : component) {
        if (c == '\\') {
            out += kBackslashStandIn;
        } else if (c == ':') {
            out += kColonStandIn;
        } else {
            out += c;
        }
    }
}

}  // namespace

HostName ParseHostName(const char* name) {
    HostName parsed;
    if (name == nullptr || *name == '\0') {
        return parsed;
    }
    const char* rest = name;
    if (IsAsciiLetter(name[0]) && name[1] == ':') {
        // "C:rel" is "C:\rel": a drive has no current directory of its own.
        parsed.start = HostName::Start::drive;
        parsed.drive = static_cast<char>(name[0] & ~0x20);
        rest = name + 2;
    } else if (IsSeparator(name[0])) {
        parsed.start = HostName::Start::root;
    }
    parsed.components.reserve(8);
    for (const char* start = rest;; ++start) {
        const char* const end = start + std::strcspn(start, "/\\");
        const std::string_view component(start, static_cast<size_t>(end - start));
        parsed.namesDirectory = component.empty() || IsDot(component) || IsDotDot(component);
        AddComponent(parsed, component);
        if (*end == '\0') {
            break;
        }
        start = end;
    }
    return parsed;
}

std::string LinuxComponent(const std::string& component) {
    if (component.find(kBackslashStandIn[0]) == std::string::npos) {
        return component;  // no stand-in can be in it
    }
    std::string onDisk;
    onDisk.reserve(component.size());
    for (size_t at = 0; at < component.size();) {
        const char* here = component.c_str() + at;
        if (std::strncmp(here, kBackslashStandIn, kStandInLength) == 0) {
            onDisk += '\\';
            at += kStandInLength;
        } else if (std::strncmp(here, kColonStandIn, kStandInLength) == 0) {
            onDisk += ':';
            at += kStandInLength;
        } else {
            onDisk += *here;
            ++at;
        }
    }
    return onDisk;
}

template <typename Text>
void HostForm(std::string_view prefix, const std::vector<std::string>& components, size_t first,
              const std::string* leaf, Text& host) {
    size_t length = prefix.size() + 1 + (leaf != nullptr ? leaf->size() + 1 : 0);
    for (size_t i = first; i < components.size(); ++i) {
        length += components[i].size() + 1;
    }
    host.clear();
    host.reserve(length);
    host.append(prefix);
    for (size_t i = first; i < components.size(); ++i) {
        host += '\\';
        AppendHostComponent(host, components[i]);
    }
    if (leaf != nullptr) {
        host += '\\';
        AppendHostComponent(host, *leaf);
    }
    if (host.size() == prefix.size()) {
        host += '\\';
    }
}

template void HostForm(std::string_view, const std::vector<std::string>&, size_t,
                       const std::string*, std::string&);
template void HostForm(std::string_view, const std::vector<std::string>&, size_t,
                       const std::string*, std::pmr::string&);

std::string HostForm(std::string_view prefix, const std::vector<std::string>& components,
                     size_t first) {
    std::string host;
    HostForm(prefix, components, first, nullptr, host);
    return host;
}

std::vector<std::string> LinuxComponents(const std::string& path) {
    std::vector<std::string> components;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string component = path.substr(start, end - start);
        if (component == "..") {
            if (!components.empty()) {
                components.pop_back();
            }
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        start = end + 1;
    }
    return components;
}
}  // namespace orvik::afx
