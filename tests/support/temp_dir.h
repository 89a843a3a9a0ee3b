// A fresh directory for one test, removed with everything in it afterwards.
#ifndef ORVIK_TESTS_TEMP_DIR_H
#define ORVIK_TESTS_TEMP_DIR_H

#include <filesystem>
#include <string>

namespace orvik::test {

// An absolute POSIX name as the platform classes hand it back: C:\tmp\a.txt
// for /tmp/a.txt while no drive is mapped elsewhere.
std::string HostPath(const std::string& posix);

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The full name of `leaf` inside the directory.
    std::string operator/(const std::string& leaf) const { return (m_path / leaf).string(); }
    // The same, as the platform classes hand it back.
    std::string Host(const std::string& leaf) const { return HostPath(*this / leaf); }

    // Writes `content` into the file `leaf` and returns its full name.
    std::string Write(const std::string& leaf, const std::string& content) const;
    // The content of the file `leaf`.
    std::string Read(const std::string& leaf) const;

private:
    std::filesystem::path m_path;
};

}  // namespace orvik::test

#endif  // ORVIK_TESTS_TEMP_DIR_H
