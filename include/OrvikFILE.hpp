/**
 * @file OrvikFILE.hpp
 * @brief A C++ layer over the `FILE_` functions, header-only: a movable file
 *        that closes itself, `std::string` arguments and results, failures as
 *        orvik::Error, and range-for over lines and records.
 *
 * Everything here is inline and calls the C functions of OrvikFILE_Lib.h;
 * it adds no symbol to any library. Like the C functions it throws nothing
 * of its own (only `std::bad_alloc` of the strings it builds can pass): every
 * call that can fail takes an orvik::Error, which it clears on success and
 * fills on failure with what the C function reported.
 *
 * @code
 * orvik::Error err;
 * orvik::File file("C:\\DATA\\REPORT.TXT", orvik::OpenMode::read, err);
 * if (err == std::errc::no_such_file_or_directory) {
 *     std::puts(err.message().c_str());  // "... file not found: C:\DATA\REPORT.TXT"
 * }
 * auto lines = orvik::Lines(file);
 * for (std::string_view line : lines) {
 *     std::fwrite(line.data(), 1, line.size(), stdout);
 * }
 * if (!orvik::IsEndOfFile(lines.error())) {
 *     std::puts(lines.error().message().c_str());
 * }
 * std::string path = orvik::PathFile("c:/data", "report.txt");  // C:\DATA\REPORT.TXT
 * @endcode
 */
#ifndef ORVIK_FILE_HPP
#define ORVIK_FILE_HPP

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "OrvikFILE_Codes.h"
// Without the framework's type names (see OrvikAfx.h), so that a host's
// own names stand beside the C++ layer.
#ifdef ORVIK_HOST_TYPES
#include "OrvikFILE_Lib.h"
#else
#define ORVIK_HOST_TYPES
#include "OrvikFILE_Lib.h"
#undef ORVIK_HOST_TYPES
#endif
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"

/** The C++ layer of the Orvik file library. */
namespace orvik {

/**
 * @brief The error category of the library's failures, "orvik.file".
 *
 * A value is the message number of the failure (ORVIK_MSG_..., the cause),
 * or, for a message text that has no number (a host exception's own text),
 * the return code (ORVIK_RC_...). The two ranges do not meet. Values compare
 * equal to the `std::errc` that fits their cause:
 *
 * | message                       | std::errc                   |
 * |-------------------------------|-----------------------------|
 * | ::ORVIK_MSG_FILE_NOT_FOUND    | no_such_file_or_directory   |
 * | ::ORVIK_MSG_ACCESS_DENIED     | permission_denied           |
 * | ::ORVIK_MSG_DISK_FULL         | no_space_on_device          |
 * | ::ORVIK_MSG_TOO_MANY_OPEN_FILES | too_many_files_open       |
 * | ::ORVIK_MSG_NO_FILE_OBJECT, ::ORVIK_MSG_INVALID_FILE | bad_file_descriptor |
 * | ::ORVIK_MSG_NULL_ARGUMENT     | invalid_argument            |
 * | ::ORVIK_MSG_NAME_TOO_LONG     | filename_too_long           |
 * | ::ORVIK_MSG_BAD_SEEK          | invalid_seek                |
 * | ::ORVIK_MSG_HARD_IO           | io_error                    |
 * | ::ORVIK_MSG_SHARING_VIOLATION | device_or_resource_busy     |
 * | ::ORVIK_MSG_LOCK_VIOLATION    | no_lock_available           |
 *
 * The others (the end of the file among them, see IsEndOfFile()) have no
 * `std::errc` of their own.
 */
class FileCategory final : public std::error_category {
public:
    /** @brief The category's name. @return "orvik.file". */
    const char* name() const noexcept override { return "orvik.file"; }

    /**
     * @brief The text of a value: the message service's text of a message
     *        number (MSG_GetStr()), else the description of a return code.
     * @param value a value of this category.
     * @return the text.
     */
    std::string message(int value) const override {
        if (value >= ORVIK_MSG_NO_FILE_OBJECT) {
            return MSG_GetStr(value);
        }
/** @cond ORVIK_INTERNAL */
#define ORVIK_CASE_TEXT(name, code, text) \
    case code:                            \
        return text;
        switch (value) { ORVIK_FILE_RETURN_CODES(ORVIK_CASE_TEXT) }
#undef ORVIK_CASE_TEXT
        /** @endcond */
        return "unknown return code " + std::to_string(value);
    }

    /**
     * @brief The `std::errc` of a value, by the table above.
     * @param value a value of this category.
     * @return the generic condition, or the value itself in this category.
     */
    std::error_condition default_error_condition(int value) const noexcept override {
        switch (value) {
            case ORVIK_MSG_FILE_NOT_FOUND:
                return std::errc::no_such_file_or_directory;
            case ORVIK_MSG_ACCESS_DENIED:
                return std::errc::permission_denied;
            case ORVIK_MSG_DISK_FULL:
                return std::errc::no_space_on_device;
            case ORVIK_MSG_TOO_MANY_OPEN_FILES:
                return std::errc::too_many_files_open;
            case ORVIK_MSG_NO_FILE_OBJECT:
            case ORVIK_MSG_INVALID_FILE:
                return std::errc::bad_file_descriptor;
            case ORVIK_MSG_NULL_ARGUMENT:
                return std::errc::invalid_argument;
            case ORVIK_MSG_NAME_TOO_LONG:
                return std::errc::filename_too_long;
            case ORVIK_MSG_BAD_SEEK:
                return std::errc::invalid_seek;
            case ORVIK_MSG_HARD_IO:
                return std::errc::io_error;
            case ORVIK_MSG_SHARING_VIOLATION:
                return std::errc::device_or_resource_busy;
            case ORVIK_MSG_LOCK_VIOLATION:
                return std::errc::no_lock_available;
            default:
                return std::error_condition(value, *this);
        }
    }
};

/**
 * @brief The one category of the library's failures in this program.
 * @return the category.
 */
inline const std::error_category& file_category() noexcept {
    static const FileCategory category;
    return category;
}

/**
 * @brief Whether an error code is the end of the file.
 * @param ec the error code of a read (an orvik::Error converts to one).
 * @return true for ::ORVIK_MSG_END_OF_FILE.
 */
inline bool IsEndOfFile(const std::error_code& ec) noexcept {
    return ec.value() == ORVIK_MSG_END_OF_FILE && ec.category() == file_category();
}

/**
 * @brief A failure as the C function reported it: its return code, its
 *        message number and text, and the name of the file it concerns.
 *
 * It converts to `std::error_code` (code()), so it compares with a
 * `std::errc` and with an error code, and is true while it holds a failure:
 *
 * @code
 * orvik::Error err;
 * orvik::Remove("C:\\GONE.TXT", err);
 * if (err == std::errc::no_such_file_or_directory) {
 *     std::puts("gone already");
 * }
 * err.return_code();     // ::ORVIK_RC_REMOVE_FAILED
 * err.message_number();  // ::ORVIK_MSG_FILE_NOT_FOUND
 * err.message();         // "C:\GONE.TXT: The file was not found."
 * @endcode
 *
 * A limit that the C functions cannot take is refused by the layer itself
 * before any call: then code() is a `std::errc` (generic category) and the
 * return code and message number are 0.
 */
class Error {
public:
    /** @brief The error code: a value of file_category(), or a `std::errc`. @return it. */
    const std::error_code& code() const noexcept { return code_; }
    /** @brief The same as code(). @return the error code. */
    operator const std::error_code&() const noexcept {  // NOLINT(google-explicit-constructor)
        return code_;
    }
    /** @brief Whether this holds a failure. @return true for a failure. */
    explicit operator bool() const noexcept { return static_cast<bool>(code_); }
    /** @brief The return code that the C function set (ORVIK_RC_...). @return it; 0 when none. */
    int32_t return_code() const noexcept { return returnCode_; }
    /** @brief The number of the message text (ORVIK_MSG_...). @return it; 0 when none. */
    int32_t message_number() const noexcept {
        return code_.category() == file_category() && code_.value() >= ORVIK_MSG_NO_FILE_OBJECT
                   ? code_.value()
                   : 0;
    }
    /** @brief The name of the file the failure concerns. @return it; empty when none. */
    const std::string& file_name() const noexcept { return fileName_; }
    /**
     * @brief The library's text of the failure, after the file name when
     *        there is one: "name: text". @return it; empty on success.
     */
    std::string message() const { return fileName_.empty() ? text_ : fileName_ + ": " + text_; }
    /** @brief Makes this a success. */
    void clear() noexcept {
        code_.clear();
        returnCode_ = 0;
        text_.clear();
        fileName_.clear();
    }

    /** @cond ORVIK_INTERNAL */
    // What a C function reported: its result message (null on success) and
    // the return code it left. A text is numbered when it is one of the
    // message service's texts (no two numbers share one).
    void Report(const char* text, int32_t returnCode, std::string_view fileName) {
        if (text == nullptr) {
            clear();
            return;
        }
        const int32_t number = NumberOf(text);
        Set(std::error_code(number != 0 ? number : returnCode, file_category()), returnCode, text,
            fileName);
    }
    // A failure that the layer finds itself, before any C call.
    void Refuse(std::errc cause, const char* text, std::string_view fileName) {
        Set(std::make_error_code(cause), 0, text, fileName);
    }
    /** @endcond */

private:
    static int32_t NumberOf(const char* text) noexcept {
/** @cond ORVIK_INTERNAL */
#define ORVIK_NUMBER(name, value, text) value,
#define ORVIK_CAUSE_NUMBER(cause, name, value, text) value,
        static constexpr int32_t kNumbers[] = {ORVIK_FILE_MESSAGES(ORVIK_NUMBER)
                                                   ORVIK_FILE_CAUSE_MESSAGES(ORVIK_CAUSE_NUMBER)};
#undef ORVIK_NUMBER
#undef ORVIK_CAUSE_NUMBER
        /** @endcond */
        for (const int32_t number : kNumbers) {
            const char* known = MSG_GetStr(number);
            if (known == text || std::strcmp(known, text) == 0) {
                return number;
            }
        }
        return 0;
    }
    void Set(std::error_code code, int32_t returnCode, const char* text,
             std::string_view fileName) {
        // A failure never reads as success, whatever the codes said.
        code_ = code ? code : std::error_code(ORVIK_MSG_NO_EXCEPTION_TEXT, file_category());
        returnCode_ = returnCode;
        text_ = text;
        fileName_ = fileName;
    }

    std::error_code code_;
    int32_t returnCode_ = 0;
    std::string text_;
    std::string fileName_;
};

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

/** How File opens a file: FILE_Open()'s `mode`. */
enum class OpenMode : uint32_t {
    read = ORVIK_OPEN_READ,            ///< reading; the file must exist
    readWrite = ORVIK_OPEN_READ_WRITE  ///< reading and writing, alone; a missing file is created
};

/** What File does with a file that exists: FILE_Open()'s `create`. */
enum class Existing : int32_t {
    keep = ORVIK_OPEN_KEEP,   ///< keep its content
    empty = ORVIK_OPEN_EMPTY  ///< empty it, in either mode
};

/** Where File::Seek() counts from. */
enum class Origin : uint32_t {
    begin = CFile::begin,      ///< the start of the file
    current = CFile::current,  ///< the present position
    end = CFile::end           ///< the end of the file
};

/** The longest line piece that File::ReadLine() and Lines() take by default. */
constexpr std::size_t kDefaultLineMax = 4096;

/**
 * @brief An open file that closes itself: a `CFile` driven through the
 *        `FILE_` functions.
 *
 * Movable, not copyable: a function can return one and a `std::vector` can
 * hold them; a moved-from File is not open. A file that is still open is
 * closed when it is destroyed or assigned to, and a failure of that close is
 * dropped: call Close() to see it. Use one File on one thread at a time.
 *
 * Every member that works on the file reports a File that is not open the
 * same way: ::ORVIK_MSG_NO_FILE_OBJECT with ::ORVIK_RC_NO_FILE_OBJECT
 * (`std::errc::bad_file_descriptor`). Failures carry the name given to Open().
 *
 * @code
 * auto openLog = [](orvik::Error& err) {  // a factory hands the File back
 *     return orvik::File("C:\\LOG\\RUN.LOG", orvik::OpenMode::read, err);
 * };
 * orvik::Error err;
 * for (std::string_view line : orvik::Lines(openLog(err))) {  // the range owns it
 *     std::fwrite(line.data(), 1, line.size(), stdout);
 * }
 * @endcode
 */
class File {
public:
    /** @brief A file object that is not open. */
    File() noexcept = default;

    /**
     * @brief Opens a file; see Open().
     * @param name     the name, in the library's name form or a POSIX path.
     * @param mode     reading, or reading and writing.
     * @param err      cleared on success, else the failure.
     * @param existing keep or empty a file that exists.
     */
    File(const Text& name, OpenMode mode, Error& err, Existing existing = Existing::keep) {
        Open(name, mode, err, existing);
    }

    File(const File&) = delete;
    File& operator=(const File&) = delete;
    /** @brief Takes the other's file; the other is left not open. @param other the file. */
    File(File&& other) noexcept = default;
    /**
     * @brief Closes this file (a failure is dropped) and takes the other's.
     * @param other the file, left not open. @return this file.
     */
    File& operator=(File&& other) noexcept = default;
    /** @brief Closes the file when it is open (the `CFile`'s destructor); a failure is dropped. */
    ~File() = default;

    /**
     * @brief Opens a file (FILE_Open()); an open file is closed first.
     *
     * A missing file to be read gives ::ORVIK_MSG_FILE_NOT_FOUND
     * (`std::errc::no_such_file_or_directory`), a directory or a file the
     * process may not open ::ORVIK_MSG_ACCESS_DENIED
     * (`std::errc::permission_denied`), both with ::ORVIK_RC_OPEN_FAILED.
     *
     * @param name     the name, in the library's name form or a POSIX path.
     * @param mode     reading, or reading and writing.
     * @param err      cleared on success, else the failure.
     * @param existing keep or empty a file that exists.
     */
    void Open(const Text& name, OpenMode mode, Error& err, Existing existing = Existing::keep) {
        if (IsOpen()) {
            FILE_Close(file_.get());  // dropped, as when the File is destroyed
        } else if (!file_) {
            file_ = std::make_unique<CFile>();
        }
        name_ = name.c_str() == nullptr ? "" : name.c_str();
        Report(FILE_Open(file_.get(), name.c_str(), static_cast<uint32_t>(mode),
                         static_cast<int32_t>(existing)),
               err);
    }

    /**
     * @brief Closes the file (FILE_Close()); a file that is not open is no error.
     * @param err cleared on success, else the failure (::ORVIK_RC_CLOSE_FAILED).
     */
    void Close(Error& err) {
        if (!IsOpen()) {
            err.clear();
            return;
        }
        Report(FILE_Close(file_.get()), err);
    }

    /** @brief Whether the file is open. @return true when open. */
    bool IsOpen() const noexcept { return file_ && file_->m_hFile != CFile::hFileNull; }

    /**
     * @brief Reads up to `count` bytes (FILE_Read()); a count beyond
     *        ::ORVIK_TRANSFER_MAX_COUNT reads at most that many, as a short
     *        read does.
     * @param buffer at least `count` bytes.
     * @param count  the most bytes to read.
     * @param err    cleared on success; IsEndOfFile() at the end of the file.
     * @return the bytes read, 0 on every failure.
     */
    std::size_t Read(void* buffer, std::size_t count, Error& err) {
        if (!Ready(err)) {
            return 0;
        }
        const auto asked = static_cast<uint32_t>(
            count < ORVIK_TRANSFER_MAX_COUNT ? count : ORVIK_TRANSFER_MAX_COUNT);
        uint32_t status = 0;
        Report(FILE_Read(file_.get(), buffer, asked, &status), err);
        return err ? 0 : std::size_t{status} - ORVIK_STATUS_TRANSFERRED;
    }

    /**
     * @brief Writes bytes (FILE_Write()); more than `UINT32_MAX` of them in
     *        pieces of that many, one FILE_Write() each, until the first failure.
     * @param bytes the bytes, zero bytes included.
     * @param err   cleared on success, else the failure.
     */
    void Write(std::string_view bytes, Error& err) {
        if (!Ready(err)) {
            return;
        }
        do {
            const std::string_view piece = bytes.substr(0, UINT32_MAX);
            Report(FILE_Write(file_.get(), piece.data(), static_cast<uint32_t>(piece.size())), err);
            bytes.remove_prefix(piece.size());
        } while (!err && !bytes.empty());
    }

    /**
     * @brief Moves the file position (FILE_Seek()).
     * @param offset bytes from the origin; outside 32 bits it is refused
     *               (`std::errc::value_too_large`) before any call.
     * @param origin where to count from.
     * @param err    cleared on success, else the failure (::ORVIK_RC_SEEK_FAILED).
     */
    void Seek(int64_t offset, Origin origin, Error& err) {
        if (!Ready(err)) {
            return;
        }
        if (offset < INT32_MIN || offset > INT32_MAX) {
            Refuse(std::errc::value_too_large, "The offset does not fit 32 bits.", err);
            return;
        }
        Report(FILE_Seek(file_.get(), static_cast<int32_t>(offset), static_cast<uint32_t>(origin)),
               err);
    }

    /**
     * @brief The file's length (FILE_GetLength()).
     * @param err cleared on success, else the failure.
     * @return the length, 0 on failure.
     */
    uint32_t Length(Error& err) {
        uint32_t length = 0;
        if (Ready(err)) {
            Report(FILE_GetLength(file_.get(), &length), err);
        }
        return length;
    }

    /**
     * @brief Sets the file's length (FILE_SetLength()).
     * @param length the new length; above `UINT32_MAX` it is refused
     *               (`std::errc::file_too_large`) before any call.
     * @param err    cleared on success, else the failure (::ORVIK_RC_SET_LENGTH_FAILED).
     */
    void SetLength(uint64_t length, Error& err) {
        if (!Ready(err)) {
            return;
        }
        if (length > UINT32_MAX) {
            Refuse(std::errc::file_too_large, "The length does not fit 32 bits.", err);
            return;
        }
        Report(FILE_SetLength(file_.get(), static_cast<uint32_t>(length)), err);
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
     * @param err  cleared on success; IsEndOfFile() at the end of the file.
     * @param max  the longest piece; 0 counts as 1, since a piece of 0 bytes
     *             would never move on through the file. Above
     *             ::ORVIK_TRANSFER_MAX_COUNT it is refused
     *             (`std::errc::invalid_argument`) before any read.
     * @return true when a line was read.
     */
    bool ReadLine(std::string& line, Error& err, std::size_t max = kDefaultLineMax);

    /**
     * @brief Writes a text as one counted string record (FILE_WriteCString()).
     *
     * The text ends at its first zero byte; one longer than
     * ::ORVIK_RECORD_MAX_TEXT bytes is stored cut, as the format does.
     *
     * @param text the text; a view is copied into a stack buffer, never more
     *             than the record keeps.
     * @param err  cleared on success, else the failure.
     */
    void WriteRecord(std::string_view text, Error& err) {
        if (!Ready(err)) {
            return;
        }
        char zeroEnded[ORVIK_RECORD_MAX_TEXT + 2];
        const std::size_t kept =
            text.size() < sizeof zeroEnded - 1 ? text.size() : sizeof zeroEnded - 1;
        std::memcpy(zeroEnded, text.data(), kept);
        zeroEnded[kept] = '\0';
        Report(FILE_WriteCString(file_.get(), zeroEnded), err);
    }

    /**
     * @brief Reads one counted string record into a string of the caller's
     *        (FILE_ReadCString()), copied at once out of the calling thread's
     *        record buffer.
     * @param text receives the record's text.
     * @param err  cleared on success; IsEndOfFile() at the end of the file
     *             (and for a record that the end cuts short).
     * @return true when a record was read.
     */
    bool ReadRecord(std::string& text, Error& err);

    /**
     * @brief The file's name without its directory (FILE_GetName()).
     * @param err cleared on success, else the failure.
     * @return the name, empty on failure.
     */
    std::string Name(Error& err) {
        return Ready(err) ? Copied(FILE_GetName(file_.get(), nullptr, 0), err) : std::string();
    }

    /**
     * @brief The file's full path, in the library's name form (FILE_GetPath()).
     * @param err cleared on success, else the failure.
     * @return the path, empty on failure.
     */
    std::string Path(Error& err) {
        return Ready(err) ? Copied(FILE_GetPath(file_.get(), nullptr, 0), err) : std::string();
    }

    /**
     * @brief The `CFile` itself, for the C functions and the host's own use.
     * @return the file object (made, not open, for a moved-from File).
     */
    CFile& Native() {
        if (!file_) {
            file_ = std::make_unique<CFile>();
        }
        return *file_;
    }

    /** @cond ORVIK_INTERNAL */
    // Whether the file is open; else `err` says that it is not.
    bool Ready(Error& err) {
        if (IsOpen()) {
            return true;
        }
        err.Report(MSG_GetStr(ORVIK_MSG_NO_FILE_OBJECT), ORVIK_RC_NO_FILE_OBJECT, name_);
        return false;
    }
    // A failure that the layer finds itself, before any C call.
    void Refuse(std::errc cause, const char* text, Error& err) const {
        err.Refuse(cause, text, name_);
    }
    // What a C function reported about this file.
    void Report(const char* message, Error& err) const {
        err.Report(message, message == nullptr ? ORVIK_RC_OK : GEN_GetRetCode(), name_);
    }
    /** @endcond */

private:
    // FILE_GetName and FILE_GetPath return the name on success: only the
    // return code tells.
    std::string Copied(const char* text, Error& err) const {
        const int32_t code = GEN_GetRetCode();
        err.Report(code == ORVIK_RC_OK ? nullptr : text, code, name_);
        return err ? std::string() : std::string(text);
    }

    // On the heap, so that the File moves: a CFile does not. Its destructor
    // closes it.
    std::unique_ptr<CFile> file_;
    std::string name_;
};

/** @cond ORVIK_INTERNAL */
namespace detail {

// The C functions' line limit for a caller's `max`: 0 counts as 1; beyond
// what FILE_ReadStr takes, 0 and `err` refuses it.
inline uint32_t LineLimit(std::size_t max, File& file, Error& err) {
    if (max > ORVIK_TRANSFER_MAX_COUNT) {
        file.Refuse(std::errc::invalid_argument,
                    "The line limit is beyond ORVIK_TRANSFER_MAX_COUNT bytes.", err);
        return 0;
    }
    return max == 0 ? 1 : static_cast<uint32_t>(max);
}

// One line into `buffer` of `max` + 1 bytes: its length, or nothing with `err`.
inline std::optional<std::size_t> ReadLineInto(File& file, char* buffer, uint32_t max, Error& err) {
    if (!file.Ready(err)) {
        return std::nullopt;
    }
    uint32_t status = 0;
    file.Report(FILE_ReadStr(&file.Native(), buffer, max, &status), err);
    if (err) {
        return std::nullopt;
    }
    return std::size_t{status} - ORVIK_STATUS_TRANSFERRED;
}

// One record: a view into the calling thread's record buffer, valid until
// its next read, or nothing with `err`.
inline std::optional<std::string_view> ReadRecordView(File& file, Error& err) {
    if (!file.Ready(err)) {
        return std::nullopt;
    }
    char* record = nullptr;
    file.Report(FILE_ReadCString(&file.Native(), &record), err);
    if (err) {
        return std::nullopt;
    }
    return std::string_view(record);
}

// The lines of a range: one buffer of `max` + 1 bytes for the whole loop,
// allocated at the first step and never filled in advance, so that a large
// limit costs only the pages that lines reach.
class LineReader {
public:
    explicit LineReader(std::size_t max) noexcept : asked_(max) {}
    bool operator()(File& file, std::string_view& line, Error& err) {
        if (!buffer_ && !Allocate(file, err)) {
            return false;
        }
        const std::optional<std::size_t> length = ReadLineInto(file, buffer_.get(), max_, err);
        line = length ? std::string_view(buffer_.get(), *length) : std::string_view();
        return length.has_value();
    }

private:
    bool Allocate(File& file, Error& err) {
        max_ = LineLimit(asked_, file, err);
        if (max_ != 0) {
            buffer_.reset(new (std::nothrow) char[std::size_t{max_} + 1]);
            if (!buffer_) {
                file.Refuse(std::errc::not_enough_memory, "No memory for a line buffer.", err);
            }
        }
        return static_cast<bool>(buffer_);
    }

    std::size_t asked_;
    uint32_t max_ = 0;
    std::unique_ptr<char[]> buffer_;
};

class RecordReader {
public:
    bool operator()(File& file, std::string_view& text, Error& err) {
        const std::optional<std::string_view> record = ReadRecordView(file, err);
        text = record.value_or(std::string_view());
        return record.has_value();
    }
};

// An input range over what a reader hands out one at a time: the range
// keeps the current item, a view into the reader's storage, and the failure
// that ended it. `Held` is File* for a file of the caller's, or File for one
// that the range owns.
template <typename Reader, typename Held>
class ReadRange {
public:
    ReadRange(Held file, Reader reader) : file_(std::move(file)), reader_(std::move(reader)) {}

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
    const Error& error() const noexcept { return error_; }

private:
    static File& Target(File* file) { return *file; }
    static File& Target(File& file) { return file; }
    bool Next() { return reader_(Target(file_), item_, error_); }

    Held file_;
    Reader reader_;
    std::string_view item_;
    Error error_;
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

}  // namespace detail
/** @endcond */

inline bool File::ReadLine(std::string& line, Error& err, std::size_t max) {
    const uint32_t limit = detail::LineLimit(max, *this, err);
    std::optional<std::size_t> length;
    if (limit != 0) {
        line.resize(std::size_t{limit} + 1);
        length = detail::ReadLineInto(*this, line.data(), limit, err);
    }
    line.resize(length.value_or(0));
    return length.has_value();
}

inline bool File::ReadRecord(std::string& text, Error& err) {
    const std::optional<std::string_view> record = detail::ReadRecordView(*this, err);
    text.assign(record.value_or(std::string_view()));
    return record.has_value();
}

/**
 * @brief The lines of a file from its present position, for range-for.
 *
 * Each line is a `std::string_view` valid until the next step. The loop ends
 * at the end of the file or on the first failure; `error()` of the range then
 * tells which (IsEndOfFile() for the clean end). A `max` that
 * File::ReadLine() refuses ends the loop before its first line.
 *
 * @param file an open file; the caller keeps it alive through the loop.
 * @param max  the longest piece of a line (File::ReadLine()).
 * @return the range.
 */
inline detail::ReadRange<detail::LineReader, File*> Lines(File& file,
                                                          std::size_t max = kDefaultLineMax) {
    return {&file, detail::LineReader(max)};
}

/**
 * @brief The lines of a file that the range takes over, as Lines(File&, std::size_t):
 *        `for (auto line : orvik::Lines(OpenLog(err)))`. The file closes with the range.
 * @param file an open file, moved into the range.
 * @param max  the longest piece of a line.
 * @return the range.
 */
inline detail::ReadRange<detail::LineReader, File> Lines(File&& file,
                                                         std::size_t max = kDefaultLineMax) {
    return {std::move(file), detail::LineReader(max)};
}

/**
 * @brief The counted string records of a file from its present position,
 *        for range-for; as Lines(), each text a `std::string_view` valid
 *        until the next step (it lies in the calling thread's record buffer).
 * @param file an open file; the caller keeps it alive through the loop.
 * @return the range.
 */
inline detail::ReadRange<detail::RecordReader, File*> Records(File& file) {
    return {&file, detail::RecordReader{}};
}

/**
 * @brief The records of a file that the range takes over, as Records(File&).
 * @param file an open file, moved into the range.
 * @return the range.
 */
inline detail::ReadRange<detail::RecordReader, File> Records(File&& file) {
    return {std::move(file), detail::RecordReader{}};
}

/**
 * @brief Deletes the named file (FILE_Remove4Name()).
 * @param name the name.
 * @param err  cleared on success, else the failure with ::ORVIK_RC_REMOVE_FAILED
 *             (a missing file: `std::errc::no_such_file_or_directory`).
 */
inline void Remove(const Text& name, Error& err) {
    const char* message = FILE_Remove4Name(name.c_str());
    err.Report(message, message == nullptr ? ORVIK_RC_OK : GEN_GetRetCode(),
               name.c_str() == nullptr ? "" : name.c_str());
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
    char buffer[ORVIK_MAX_PATH];
    const int32_t length = FILE_GetModulePathName(buffer);
    if (length < 0) {
        return std::nullopt;
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

}  // namespace orvik

#endif  // ORVIK_FILE_HPP
