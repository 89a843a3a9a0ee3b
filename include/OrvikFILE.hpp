/**
 * @file OrvikFILE.hpp
 * @brief A C++ layer over the `FILE_` functions, header-only: a file that
 *        closes itself, `std::string` arguments and results, failures as
 *        `std::error_code`, and range-for over lines and records.
 *
 * Everything here is inline and calls the C functions of OrvikFILE_Lib.h;
 * it adds no symbol to any library. Like the C functions it throws nothing
 * of its own: every call that can fail takes a `std::error_code&`, which it
 * clears on success and sets to the library's return code (in
 * orvik::file_category()) on failure.
 *
 * @code
 * std::error_code ec;
 * orvik::File file("C:\\DATA\\REPORT.TXT", orvik::OpenMode::read, ec);
 * for (std::string_view line : orvik::Lines(file)) {
 *     std::fwrite(line.data(), 1, line.size(), stdout);
 * }
 * std::string path = orvik::PathFile("c:/data", "report.txt");  // C:\DATA\REPORT.TXT
 * @endcode
 */
#ifndef ORVIK_FILE_HPP
#define ORVIK_FILE_HPP

#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"

/** The C++ layer of the Orvik file library. */
namespace orvik {

/**
 * @brief The error category of the library's return codes (ORVIK_RC_...):
 *        `std::error_code(ORVIK_RC_OPEN_FAILED, file_category())`.
 */
class FileCategory final : public std::error_category {
public:
    /** @brief The category's name. @return "orvik.file". */
    const char* name() const noexcept override { return "orvik.file"; }

    /**
     * @brief The text of a return code.
     * @param code a return code (::OrvikFileReturnCode).
     * @return its description from the library's list of return codes.
     */
    std::string message(int code) const override {
/** @cond ORVIK_INTERNAL */
#define ORVIK_CASE_TEXT(name, value, text) \
    case value:                            \
        return text;
        switch (code) { ORVIK_FILE_RETURN_CODES(ORVIK_CASE_TEXT) }
#undef ORVIK_CASE_TEXT
        /** @endcond */
        return "unknown return code " + std::to_string(code);
    }
};

/**
 * @brief The one category of the library's return codes in this program.
 * @return the category.
 */
inline const std::error_category& file_category() noexcept {
    static const FileCategory category;
    return category;
}

/**
 * @brief An error code for a return code of the library.
 * @param code a return code; ::ORVIK_RC_OK gives the empty (success) code.
 * @return the error code.
 */
inline std::error_code MakeErrorCode(int32_t code) noexcept {
    return code == ORVIK_RC_OK ? std::error_code() : std::error_code(code, file_category());
}

/**
 * @brief Whether an error code is the end of the file.
 * @param ec the error code of a read.
 * @return true for ::ORVIK_RC_END_OF_FILE.
 */
inline bool IsEndOfFile(const std::error_code& ec) noexcept {
    return ec.value() == ORVIK_RC_END_OF_FILE && ec.category() == file_category();
}

/** @cond ORVIK_INTERNAL */
namespace detail {
// The reporting functions set the return code whenever they return a
// message, and clear it when they return null.
inline void Report(const char* message, std::error_code& ec) noexcept {
    ec = message == nullptr ? std::error_code() : MakeErrorCode(GEN_GetRetCode());
}
}  // namespace detail
/** @endcond */

/**
 * @brief A text argument handed to the C functions zero-terminated: a
 *        `const char*` or `std::string` as it is, a `std::string_view` copied.
 */
class Text {
public:
    /** @brief A zero-terminated text, not copied. @param text the text. */
    Text(const char* text) noexcept : text_(text) {}  // NOLINT(google-explicit-constructor)
    /** @brief A string, not copied. @param text the string. */
    Text(const std::string& text) noexcept  // NOLINT(google-explicit-constructor)
        : text_(text.c_str()) {}
    /** @brief A view, copied to end it with a zero. @param text the view. */
    Text(std::string_view text)  // NOLINT(google-explicit-constructor)
        : copy_(text), text_(copy_->c_str()) {}
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;

    /** @brief The zero-terminated text. @return the text. */
    const char* c_str() const noexcept { return text_; }

private:
    std::optional<std::string> copy_;
    const char* text_;
};

/** How File opens a file (FILE_Open()). */
enum class OpenMode : uint32_t {
    read = 0,      ///< reading; the file must exist
    readWrite = 2  ///< reading and writing, alone; a missing file is created
};

/** Where File::Seek() counts from. */
enum class Origin : uint32_t {
    begin = CFile::begin,      ///< the start of the file
    current = CFile::current,  ///< the present position
    end = CFile::end           ///< the end of the file
};

/**
 * @brief An open file that closes itself: a `CFile` driven through the
 *        `FILE_` functions.
 *
 * Not copyable or movable (it holds its `CFile`); a file that is still open
 * is closed when it goes out of scope, and a failure of that close is
 * dropped: call Close() to see it. Use one File on one thread at a time.
 */
class File {
public:
    /** @brief A file object that is not open. */
    File() = default;

    /**
     * @brief Opens a file (FILE_Open()).
     * @param name     the name, in the library's name form or a POSIX path.
     * @param mode     reading or reading and writing.
     * @param ec       cleared on success, else the return code.
     * @param truncate empty an existing file.
     */
    File(const Text& name, OpenMode mode, std::error_code& ec, bool truncate = false) {
        Open(name, mode, ec, truncate);
    }

    File(const File&) = delete;
    File& operator=(const File&) = delete;

    /** @brief Closes the file when it is open; a failure is dropped. */
    ~File() { FILE_Close(&file_); }

    /**
     * @brief Opens a file (FILE_Open()); see File(const Text&, OpenMode, std::error_code&, bool).
     * @param name     the name.
     * @param mode     reading or reading and writing.
     * @param ec       cleared on success, else the return code.
     * @param truncate empty an existing file.
     */
    void Open(const Text& name, OpenMode mode, std::error_code& ec, bool truncate = false) {
        detail::Report(
            FILE_Open(&file_, name.c_str(), static_cast<uint32_t>(mode), truncate ? 1 : 0), ec);
    }

    /**
     * @brief Closes the file (FILE_Close()); a file that is not open is no error.
     * @param ec cleared on success, else ::ORVIK_RC_CLOSE_FAILED.
     */
    void Close(std::error_code& ec) { detail::Report(FILE_Close(&file_), ec); }

    /** @brief Whether the file is open. @return true when open. */
    bool IsOpen() const noexcept { return file_.m_hFile != CFile::hFileNull; }

    /**
     * @brief Reads up to `count` bytes (FILE_Read()).
     * @param buffer at least `count` bytes.
     * @param count  the most bytes to read.
     * @param ec     cleared on success; IsEndOfFile() at the end of the file.
     * @return the bytes read, 0 on every failure.
     */
    uint32_t Read(void* buffer, uint32_t count, std::error_code& ec) {
        uint32_t status = 0;
        detail::Report(FILE_Read(&file_, buffer, count, &status), ec);
        return ec ? 0 : status - ORVIK_STATUS_TRANSFERRED;
    }

    /**
     * @brief Writes bytes (FILE_Write()); more than `UINT32_MAX` of them in
     *        pieces of that many, one FILE_Write() each, until the first failure.
     * @param bytes the bytes, zero bytes included.
     * @param ec    cleared on success, else the return code.
     */
    void Write(std::string_view bytes, std::error_code& ec) {
        do {
            const std::string_view piece = bytes.substr(0, UINT32_MAX);
            detail::Report(FILE_Write(&file_, piece.data(), static_cast<uint32_t>(piece.size())),
                           ec);
            bytes.remove_prefix(piece.size());
        } while (!ec && !bytes.empty());
    }

    /**
     * @brief Moves the file position (FILE_Seek()).
     * @param offset bytes from the origin.
     * @param origin where to count from.
     * @param ec     cleared on success, else ::ORVIK_RC_SEEK_FAILED.
     */
    void Seek(int32_t offset, Origin origin, std::error_code& ec) {
        detail::Report(FILE_Seek(&file_, offset, static_cast<uint32_t>(origin)), ec);
    }

    /**
     * @brief The file's length (FILE_GetLength()).
     * @param ec cleared on success, else the return code.
     * @return the length, 0 on failure.
     */
    uint32_t Length(std::error_code& ec) {
        uint32_t length = 0;
        detail::Report(FILE_GetLength(&file_, &length), ec);
        return length;
    }

    /**
     * @brief Sets the file's length (FILE_SetLength()).
     * @param length the new length.
     * @param ec     cleared on success, else ::ORVIK_RC_SET_LENGTH_FAILED.
     */
    void SetLength(uint32_t length, std::error_code& ec) {
        detail::Report(FILE_SetLength(&file_, length), ec);
    }

    /**
     * @brief Reads one line, without its line end, as FILE_ReadStr() does.
     *
     * A line longer than `max` comes in pieces of `max` bytes; a piece of
     * exactly `max` bytes may be followed by an empty one (its line end).
     *
     * @param line receives the line; it grows to `max` + 1 bytes and keeps
     *             that capacity, so a loop allocates once (Lines() reads
     *             faster still: into one buffer, without a copy).
     * @param ec   cleared on success; IsEndOfFile() at the end of the file.
     * @param max  the longest piece; 0 counts as 1, since a piece of 0 bytes
     *             would never move on through the file.
     * @return true when a line was read.
     */
    bool ReadLine(std::string& line, std::error_code& ec, uint32_t max = 4096) {
        max = max == 0 ? 1 : max;
        line.resize(static_cast<std::size_t>(max) + 1);
        uint32_t status = 0;
        detail::Report(FILE_ReadStr(&file_, line.data(), max, &status), ec);
        line.resize(ec ? 0 : status - ORVIK_STATUS_TRANSFERRED);
        return !ec;
    }

    /**
     * @brief Writes a text as one counted string record (FILE_WriteCString()).
     *
     * The text ends at its first zero byte; one longer than
     * ::ORVIK_RECORD_MAX_TEXT bytes is stored cut, as the format does.
     *
     * @param text the text; a view is copied into a stack buffer, never more
     *             than the record keeps.
     * @param ec   cleared on success, else the return code; a file that is
     *             not open gives ::ORVIK_RC_NO_FILE_OBJECT here.
     */
    void WriteRecord(std::string_view text, std::error_code& ec) {
        char zeroEnded[ORVIK_RECORD_MAX_TEXT + 2];
        const std::size_t kept =
            text.size() < sizeof zeroEnded - 1 ? text.size() : sizeof zeroEnded - 1;
        std::memcpy(zeroEnded, text.data(), kept);
        zeroEnded[kept] = '\0';
        WriteRecordText(zeroEnded, ec);
    }

    /**
     * @brief Reads one counted string record into a string of the caller's
     *        (FILE_ReadCString()); the text is copied out of the
     *        thread's record buffer at once.
     * @param text receives the record's text.
     * @param ec   cleared on success; IsEndOfFile() at the end of the file
     *             (and for a record that the end cuts short).
     * @return true when a record was read.
     */
    bool ReadRecord(std::string& text, std::error_code& ec) {
        char* record = nullptr;
        if (!IsOpen()) {
            ec = MakeErrorCode(ORVIK_RC_NO_FILE_OBJECT);
        } else {
            detail::Report(FILE_ReadCString(&file_, &record), ec);
        }
        text.assign(ec ? "" : record);
        return !ec;
    }

    /**
     * @brief The file's name without its directory (FILE_GetName()).
     * @param ec cleared on success, else the return code.
     * @return the name, empty on failure.
     */
    std::string Name(std::error_code& ec) { return Copied(FILE_GetName(&file_, nullptr, 0), ec); }

    /**
     * @brief The file's full path, in the library's name form (FILE_GetPath()).
     * @param ec cleared on success, else the return code.
     * @return the path, empty on failure.
     */
    std::string Path(std::error_code& ec) { return Copied(FILE_GetPath(&file_, nullptr, 0), ec); }

    /**
     * @brief The `CFile` itself, for the C functions and the host's own use.
     * @return the file object.
     */
    CFile& Native() noexcept { return file_; }

private:
    // FILE_GetName and FILE_GetPath return the name on success: only the
    // return code tells.
    static std::string Copied(const char* text, std::error_code& ec) {
        ec = MakeErrorCode(GEN_GetRetCode());
        return ec ? std::string() : std::string(text);
    }

    // FILE_WriteCString leaves the return code alone for a file that is not
    // open; that is a failure of its own here.
    void WriteRecordText(const char* text, std::error_code& ec) {
        if (!IsOpen()) {
            ec = MakeErrorCode(ORVIK_RC_NO_FILE_OBJECT);
            return;
        }
        detail::Report(FILE_WriteCString(&file_, text), ec);
    }

    CFile file_;
};

/** @cond ORVIK_INTERNAL */
namespace detail {

// An input range over what a reader of File hands out one at a time: the
// range keeps the current item, a view into the reader's own storage, and
// the error that ended it.
template <typename Reader>
class ReadRange {
public:
    explicit ReadRange(File& file, Reader reader) : file_(&file), reader_(std::move(reader)) {}

    class iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string_view*;
        using reference = std::string_view;

        iterator() = default;
        explicit iterator(ReadRange* range) : range_(range) { ++*this; }
        std::string_view operator*() const { return range_->item_; }
        iterator& operator++() {
            if (!range_->Next()) {
                range_ = nullptr;
            }
            return *this;
        }
        bool operator==(const iterator& other) const { return range_ == other.range_; }
        bool operator!=(const iterator& other) const { return range_ != other.range_; }

    private:
        ReadRange* range_ = nullptr;
    };

    iterator begin() { return iterator(this); }
    iterator end() { return iterator(); }
    const std::error_code& error() const noexcept { return error_; }

private:
    bool Next() { return reader_(*file_, item_, error_); }

    File* file_;
    Reader reader_;
    std::string_view item_;
    std::error_code error_;
};

// A writable buffer for a C call: on the stack when it is short, so that a
// call costs no allocation beyond the std::string it returns.
class Scratch {
public:
    explicit Scratch(std::size_t size) {
        if (size > sizeof local_) {
            heap_.resize(size);
            data_ = heap_.data();
        }
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    char* data() noexcept { return data_; }
    // Appends a text and its terminating zero at `at`; returns where it lies.
    char* Put(std::size_t at, std::string_view text) noexcept {
        std::memcpy(data_ + at, text.data(), text.size());
        data_[at + text.size()] = '\0';
        return data_ + at;
    }

private:
    char local_[512];
    std::string heap_;
    char* data_ = local_;
};

// One buffer for the whole loop, sized once: FILE_ReadStr reads into it.
class LineReader {
public:
    explicit LineReader(uint32_t max)
        : max_(max == 0 ? 1 : max), buffer_(static_cast<std::size_t>(max_) + 1, '\0') {}
    bool operator()(File& file, std::string_view& line, std::error_code& ec) {
        uint32_t status = 0;
        detail::Report(FILE_ReadStr(&file.Native(), buffer_.data(), max_, &status), ec);
        line = ec ? std::string_view()
                  : std::string_view(buffer_.data(), status - ORVIK_STATUS_TRANSFERRED);
        return !ec;
    }

private:
    uint32_t max_;
    std::string buffer_;
};

// The view points into the thread's record buffer, which holds the text
// until the next record is read: exactly one step of the loop.
class RecordReader {
public:
    bool operator()(File& file, std::string_view& text, std::error_code& ec) {
        char* record = nullptr;
        if (!file.IsOpen()) {
            ec = MakeErrorCode(ORVIK_RC_NO_FILE_OBJECT);
        } else {
            detail::Report(FILE_ReadCString(&file.Native(), &record), ec);
        }
        text = ec ? std::string_view() : std::string_view(record);
        return !ec;
    }
};

}  // namespace detail
/** @endcond */

/**
 * @brief The lines of a file from its present position, for range-for.
 *
 * Each line is a `std::string_view` valid until the next step. The loop ends
 * at the end of the file or on the first failure; `error()` of the range then
 * tells which (IsEndOfFile() for the clean end).
 *
 * @param file an open file.
 * @param max  the longest piece of a line (File::ReadLine()).
 * @return the range.
 */
inline detail::ReadRange<detail::LineReader> Lines(File& file, uint32_t max = 4096) {
    return detail::ReadRange<detail::LineReader>(file, detail::LineReader(max));
}

/**
 * @brief The counted string records of a file from its present position,
 *        for range-for; as Lines(), each text a `std::string_view` valid
 *        until the next step (it lies in the calling thread's record buffer
 *        of FILE_ReadCString()).
 * @param file an open file.
 * @return the range.
 */
inline detail::ReadRange<detail::RecordReader> Records(File& file) {
    return detail::ReadRange<detail::RecordReader>(file, detail::RecordReader{});
}

/**
 * @brief Deletes the named file (FILE_Remove4Name()).
 * @param name the name.
 * @param ec   cleared on success, else ::ORVIK_RC_REMOVE_FAILED.
 */
inline void Remove(const Text& name, std::error_code& ec) {
    detail::Report(FILE_Remove4Name(name.c_str()), ec);
}

/**
 * @brief Joins a directory and a file name into one normal upper-case path
 *        (FILE_PathFile()); the arguments are not changed.
 * @param dir  the directory.
 * @param file the file name.
 * @return the path; empty when `dir` and `file` together are longer than
 *         `INT32_MAX` - 2 bytes (nothing is copied then).
 */
inline std::string PathFile(std::string_view dir, std::string_view file) {
    if (dir.size() + file.size() > std::size_t{INT32_MAX} - 2) {
        return std::string();
    }
    // FILE_PathFile writes its own arguments: it gets copies.
    detail::Scratch arguments(dir.size() + file.size() + 2);
    char* const dirText = arguments.Put(0, dir);
    char* const fileText = arguments.Put(dir.size() + 1, file);
    detail::Scratch path(dir.size() + file.size() + 3);
    const int32_t length = FILE_PathFile(path.data(), dirText, fileText);
    return std::string(path.data(), length < 0 ? 0 : static_cast<std::size_t>(length));
}

/**
 * @brief The index of a name's suffix (FILE_FindSuffix()).
 * @param name      the name.
 * @param limitBase give the cut of a base part longer than 8 instead.
 * @return the index, from 0 to the name's length; `std::string::npos` for a
 *         name longer than `INT32_MAX` bytes.
 */
inline std::size_t FindSuffix(const Text& name, bool limitBase = false) {
    const int32_t index = FILE_FindSuffix(name.c_str(), limitBase ? 1 : 0);
    return index < 0 ? std::string::npos : static_cast<std::size_t>(index);
}

/**
 * @brief A name with its suffix replaced (FILE_NewSuffix()): cut to three
 *        characters, or removed by an empty suffix.
 * @param name   the name.
 * @param suffix the new suffix, with or without its full stop.
 * @return the new name; empty when the name or the new name is longer than
 *         `INT32_MAX` bytes (a longer name is not copied).
 */
inline std::string NewSuffix(std::string_view name, const Text& suffix) {
    if (name.size() > std::size_t{INT32_MAX}) {
        return std::string();
    }
    std::string renamed(name.size() + 5, '\0');
    renamed.replace(0, name.size(), name);
    const int32_t length = FILE_NewSuffix(renamed.data(), suffix.c_str());
    renamed.resize(length < 0 ? 0 : static_cast<std::size_t>(length));
    return renamed;
}

/**
 * @brief A path name shortened for display (FILE_ShrinkName()); the
 *        argument is not changed, though its blanks are stripped in the result.
 * @param name     the name.
 * @param maxChars the longest result, 1 or more.
 * @return the short form, empty for a `maxChars` below 1 and for a name
 *         longer than `INT32_MAX` bytes once stripped.
 */
inline std::string ShrinkName(std::string_view name, int32_t maxChars) {
    if (maxChars < 1) {
        return std::string();
    }
    // FILE_ShrinkName strips its source in place: it gets a copy.
    detail::Scratch source(name.size() + 1);
    source.Put(0, name);
    detail::Scratch shrunk(static_cast<std::size_t>(maxChars) + 1);
    const int32_t length = FILE_ShrinkName(shrunk.data(), source.data(), maxChars);
    return std::string(shrunk.data(), length < 0 ? 0 : static_cast<std::size_t>(length));
}

/**
 * @brief The directory above the running program's own directory
 *        (FILE_GetModulePathName()).
 * @return the directory, or nothing when the program's name gives none.
 */
inline std::optional<std::string> ModulePathName() {
    char buffer[MAX_PATH];
    const int32_t length = FILE_GetModulePathName(buffer);
    if (length < 0) {
        return std::nullopt;
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

}  // namespace orvik

#endif  // ORVIK_FILE_HPP
