// The file-object family at the limits of its 32-bit counts, with texts,
// names and lines past 2 and 4 GiB that cost no memory (long_text.h).
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "long_text.h"
#include "record_bytes.h"
#include "report_check.h"
#include "scripted_file.h"

namespace {

using orvik::test::kNoMessage;
using orvik::test::LongText;

// A host's name arrives as a CString, made with operator new (copies share
// it). A text of gigabytes gets room that costs no memory either: a LongText
// with a page of its own at the end (the copy fills the repeated part with
// fill bytes).
constexpr size_t kRoomFrom = size_t{1} << 30;
LongText* g_room = nullptr;

}  // namespace

void* operator new(size_t bytes) {
    if (bytes >= kRoomFrom && g_room == nullptr) {
        g_room = new LongText(bytes - 1, std::string(static_cast<size_t>(::getpagesize()), 'a'));
        return g_room->data();
    }
    void* memory = bytes < kRoomFrom ? std::malloc(bytes ? bytes : 1) : nullptr;
    return memory != nullptr ? memory : throw std::bad_alloc();
}
void* operator new(size_t bytes, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(bytes);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* memory) noexcept {
    if (g_room != nullptr && g_room->data() == memory) {
        delete std::exchange(g_room, nullptr);
    } else {
        std::free(memory);
    }
}
void operator delete(void* memory, size_t) noexcept {
    ::operator delete(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    ::operator delete(memory);
}

namespace {

// Write notes each call's count and the first and last of its bytes instead
// of storing them; Read hands out as many bytes as asked without writing them.
class CountingFile : public orvik::test::ScriptedFile {
public:
    std::vector<std::string> m_writes;
    UINT m_asked = 0;

    void Write(const void* buffer, UINT count) override {
        const char* bytes = static_cast<const char*>(buffer);
        m_writes.push_back(std::to_string(count) + " " + bytes[0] + bytes[count - 1]);
        Enter("Write");
    }
    UINT Read(void*, UINT count) override { return m_asked = count; }
};

TEST(LongTexts, WriteStrAndWriteCStringTakeATextPastUint32Max) {
    // clang-format off
    const struct { size_t length; std::map<std::string, int> throws; std::vector<std::string> writes; int32_t message, code; } rows[] = {
        {orvik::test::kOver4GiB + 10, {}, {"4294967295 aa", "11 a9"}, kNoMessage, ORVIK_RC_OK},
        {UINT32_MAX, {}, {"4294967295 a9"}, kNoMessage, ORVIK_RC_OK},
        {orvik::test::kOver4GiB + 10, {{"Write", CFileException::diskFull}}, {"4294967295 aa"}, ORVIK_MSG_DISK_FULL, ORVIK_RC_WRITE_FAILED},
    };
    // clang-format on
    for (const auto& row : rows) {
        const LongText text(row.length, "0123456789");
        CountingFile file;
        file.m_throwCause = row.throws;
        EXPECT_REPORT(FILE_WriteStr(&file, text.data()), row.message, row.code);
        EXPECT_EQ(file.m_writes, row.writes) << row.length;
    }
    const LongText text(orvik::test::kOver4GiB + 10, "0123456789");
    orvik::test::ScriptedFile file;
    EXPECT_REPORT(FILE_WriteCString(&file, text.data()), kNoMessage, ORVIK_RC_OK);
    EXPECT_EQ(file.m_content, orvik::test::Field(513) + std::string(513, 'a'));
}

// Names longer than INT32_MAX bytes, whatever the buffer and the limit.
TEST(LongTexts, ANameTooLongToCountIsTooLong) {
    const LongText name(orvik::test::kOver2GiB, "\\name.txt");
    orvik::test::ScriptedFile file;
    file.m_name = file.m_path = name.data();
    char dest[8] = "#######";
    EXPECT_REPORT(FILE_GetName(&file, dest, INT32_MAX), ORVIK_MSG_NAME_TOO_LONG,
                  ORVIK_RC_NAME_TOO_LONG);
    EXPECT_STREQ(dest, "#######");
    EXPECT_REPORT(FILE_GetPath(&file, nullptr, 0), ORVIK_MSG_NAME_TOO_LONG, ORVIK_RC_NAME_TOO_LONG);
}

// The status, 100 + the count, must not wrap: a read asks for no more, and
// a line is cut, at ORVIK_TRANSFER_MAX_COUNT bytes.
TEST(LongTexts, TransfersStopWhereTheStatusCountsNoFurther) {
    CountingFile counting;
    char byte = 0;
    uint32_t status = 0;
    EXPECT_REPORT(FILE_Read(&counting, &byte, UINT32_MAX, &status), kNoMessage, ORVIK_RC_OK, status,
                  UINT32_MAX);
    EXPECT_EQ(counting.m_asked, ORVIK_TRANSFER_MAX_COUNT);
    // A file of zeros that costs no memory: a memory file that is one hole.
    const int hole = ::memfd_create("orvik-hole", MFD_CLOEXEC);
    ASSERT_EQ(::ftruncate(hole, off_t{ORVIK_TRANSFER_MAX_COUNT} + 5), 0);
    CFile file;
    const std::string name = "/proc/self/fd/" + std::to_string(hole);
    ASSERT_EQ(FILE_Open(&file, name.c_str(), ORVIK_OPEN_READ, ORVIK_OPEN_KEEP), nullptr);
    const LongText buffer(UINT32_MAX, {}, '\0');  // max + 1 bytes of zeros
    for (const uint32_t wanted :
         {UINT32_MAX, uint32_t{ORVIK_STATUS_TRANSFERRED + 5}, uint32_t{ORVIK_STATUS_END_OF_FILE}}) {
        FILE_ReadStr(&file, buffer.data(), UINT32_MAX, &status);
        EXPECT_EQ(status, wanted);
    }
    FILE_Close(&file);
    ::close(hole);
}

}  // namespace
