#include "temp_dir.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace orvik::test {

std::string HostPath(const std::string& posix) {
    std::string host = "C:" + posix;
    std::replace(host.begin(), host.end(), '/', '\\');
    return host;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvik-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::Write(const std::string& leaf, const std::string& content) const {
    std::string name = *this / leaf;
    std::ofstream(name, std::ios::binary) << content;
    return name;
}

std::string TempDir::Read(const std::string& leaf) const {
    std::ifstream in(*this / leaf, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace orvik::test
