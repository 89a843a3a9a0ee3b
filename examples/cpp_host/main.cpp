// A small host on the C++ layer: writes a text file and a record file in the
// directory it is given, reads both back by range-for, shows the path text
// helpers, and reports every failure with the library's text and the file's
// name (orvik::Error).
#include <cstdio>
#include <string>
#include <system_error>

#include "OrvikFILE.hpp"
#include "OrvikFILE_Version.h"

namespace {

bool Failed(const char* what, const orvik::Error& err) {
    if (err) {
        std::fprintf(stderr, "%s: %s (return code %d, message %d)\n", what, err.message().c_str(),
                     err.return_code(), err.message_number());
    }
    return static_cast<bool>(err);
}

// A factory: the file moves out to its caller.
orvik::File OpenForReading(const std::string& name, orvik::Error& err) {
    return orvik::File(name, orvik::OpenMode::read, err);
}

bool WriteFiles(const std::string& text, const std::string& records) {
    orvik::Error ec;
    orvik::File lines(text, orvik::OpenMode::readWrite, ec, orvik::Existing::empty);
    if (Failed("open lines", ec)) {
        return false;
    }
    lines.Write("alpha\r\nbeta\ngamma", ec);
    if (Failed("write lines", ec)) {
        return false;
    }
    orvik::File out(records, orvik::OpenMode::readWrite, ec, orvik::Existing::empty);
    for (std::string_view record : {"first", "second"}) {
        if (!ec) {
            out.WriteRecord(record, ec);
        }
    }
    return !Failed("records", ec);
}  // both files close themselves here

bool ReadFiles(const std::string& text, const std::string& records) {
    orvik::Error ec;
    auto lines = orvik::Lines(OpenForReading(text, ec));  // the range owns the file
    if (Failed("open lines", ec)) {
        return false;
    }
    for (std::string_view line : lines) {
        std::printf("line: %.*s\n", static_cast<int>(line.size()), line.data());
    }
    orvik::File recordFile = OpenForReading(records, ec);
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

    orvik::Error ec;
    orvik::Remove(text, ec);
    orvik::Remove(records, ec);
    orvik::Remove(records, ec);  // gone already: the cause, as std::errc too
    std::printf("again: %s\n", ec.message().c_str());
    if (ec != std::errc::no_such_file_or_directory || ec.return_code() != ORVIK_RC_REMOVE_FAILED) {
        return 1;
    }
    std::printf("cpp host: ok\n");
    return 0;
}
