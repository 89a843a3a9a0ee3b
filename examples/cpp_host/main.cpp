// A small host on the C++ layer: writes a text file and a record file in the
// directory it is given, reads both back by range-for, shows the path text
// helpers, and reports every failure as a std::error_code.
#include <cstdio>
#include <string>
#include <system_error>

#include "OrvikFILE.hpp"
#include "OrvikFILE_Version.h"

namespace {

bool Failed(const char* what, const std::error_code& ec) {
    if (ec) {
        std::fprintf(stderr, "%s: %s (%s %d)\n", what, ec.message().c_str(), ec.category().name(),
                     ec.value());
    }
    return static_cast<bool>(ec);
}

bool WriteFiles(const std::string& text, const std::string& records) {
    std::error_code ec;
    orvik::File lines(text, orvik::OpenMode::readWrite, ec, true);
    if (Failed("open lines", ec)) {
        return false;
    }
    lines.Write("alpha\r\nbeta\ngamma", ec);
    if (Failed("write lines", ec)) {
        return false;
    }
    orvik::File out(records, orvik::OpenMode::readWrite, ec, true);
    for (std::string_view record : {"first", "second"}) {
        if (!ec) {
            out.WriteRecord(record, ec);
        }
    }
    return !Failed("records", ec);
}  // both files close themselves here

bool ReadFiles(const std::string& text, const std::string& records) {
    std::error_code ec;
    orvik::File in(text, orvik::OpenMode::read, ec);
    if (Failed("open lines", ec)) {
        return false;
    }
    auto lines = orvik::Lines(in);
    for (std::string_view line : lines) {
        std::printf("line: %.*s\n", static_cast<int>(line.size()), line.data());
    }
    orvik::File recordFile(records, orvik::OpenMode::read, ec);
    auto texts = orvik::Records(recordFile);
    int count = 0;
    for (std::string_view record : texts) {
        std::printf("record %d: %.*s\n", count++, static_cast<int>(record.size()), record.data());
    }
    // Both loops end at the end of their file; anything else is a failure.
    return orvik::IsEndOfFile(lines.error()) && orvik::IsEndOfFile(texts.error()) && count == 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : ".";
    const std::string text = dir + "/cpp_host.txt";
    const std::string records = dir + "/cpp_host.rec";
    std::printf("OrvikFILE %s\n", ORVIK_FILE_VERSION_STRING);
    if (!WriteFiles(text, records) || !ReadFiles(text, records)) {
        return 1;
    }
    std::printf("path: %s\n", orvik::PathFile("c:/data", " report.txt ").c_str());
    std::printf("suffix: %s\n", orvik::NewSuffix("report.txt", "html").c_str());
    std::printf("short: %s\n", orvik::ShrinkName("C:\\dir\\sub\\file.txt", 15).c_str());

    std::error_code ec;
    orvik::Remove(text, ec);
    orvik::Remove(records, ec);
    orvik::Remove(records, ec);  // gone already: a failure with its code
    if (ec != std::error_code(ORVIK_RC_REMOVE_FAILED, orvik::file_category())) {
        return 1;
    }
    std::printf("cpp host: ok\n");
    return 0;
}
