#include "bench_files.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace orvik::bench {

namespace {

std::string Directory() {
    static const std::string dir = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvik-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        return pattern;
    }();
    return dir;
}

std::string RandomText(std::mt19937& random) {
    std::string text(20 + random() % 101, ' ');
    for (char& c : text) {
        c = static_cast<char>('!' + random() % 90);
    }
    return text;
}

std::string Make(const char* leaf, size_t units, bool records) {
    const std::string name = Directory() + "/" + leaf;
    std::FILE* out = std::fopen(name.c_str(), "wb");
    if (out == nullptr) {
        throw std::runtime_error("cannot write " + name);
    }
    std::mt19937 random(42);
    for (size_t written = 0, i = 0; records ? i < units : written < units; ++i) {
        const std::string text = RandomText(random);
        if (records) {
            const uint32_t length = static_cast<uint32_t>(text.size()) + 1;
            const unsigned char field[4] = {uint8_t(length), uint8_t(length >> 8),
                                            uint8_t(length >> 16), uint8_t(length >> 24)};
            std::fwrite(field, 1, 4, out);
            std::fwrite(text.c_str(), 1, length, out);
        } else {
            std::fputs(text.c_str(), out);
            std::fputc('\n', out);
        }
        written += text.size() + 1;
    }
    std::fclose(out);
    return name;
}

}  // namespace

const std::string& TextFile() {
    static const std::string name = Make("lines.txt", 100u * 1000 * 1000, false);
    return name;
}

const std::string& RecordFile() {
    static const std::string name = Make("records.bin", 1000 * 1000, true);
    return name;
}

std::string ScratchFile(const char* leaf) {
    return Directory() + "/" + leaf;
}

}  // namespace orvik::bench
