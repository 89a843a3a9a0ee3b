// A fresh directory for one test, removed with everything in it afterwards.
#ifndef ORVIK_TESTS_TEMP_DIR_H
#define ORVIK_TESTS_TEMP_DIR_H

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace orvik::test {

// An absolute POSIX name as the platform classes hand it back: C:\tmp\a.txt
// for /tmp/a.txt while no drive is mapped elsewhere.
inline std::string HostPath(const std::string& posix) {
    std::string host = "C:" + posix;
    std::replace(host.begin(), host.end(), '/', '\\');
    return host;
}

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvik-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The full name of `leaf` inside the directory, and as the platform
    // classes hand it back.
    std::string operator/(const std::string& leaf) const { return (m_path / leaf).string(); }
    std::string Host(const std::string& leaf) const { return HostPath(*this / leaf); }

    // Writes `content` into the file `leaf` and returns its full name.
    std::string Write(const std::string& leaf, const std::string& content) const {
        std::ofstream(*this / leaf, std::ios::binary) << content;
        return *this / leaf;
    }
    std::string Read(const std::string& leaf) const {
        std::ifstream in(*this / leaf, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path m_path;
};

}  // namespace orvik::test

#endif  // ORVIK_TESTS_TEMP_DIR_H
