// A file object whose operations a test scripts: it serves an in-memory
// content, records its calls in order ("Read Read!" - the ! marks a throw),
// and throws a chosen cause (a TrackedException, so that releases are
// counted) or a foreign exception from a chosen operation.
#ifndef ORVIK_TESTS_SCRIPTED_FILE_H
#define ORVIK_TESTS_SCRIPTED_FILE_H

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

#include "OrvikAfx.h"
#include "tracked_exception.h"

namespace orvik::test {

class ScriptedFile : public CFile {
public:
    static constexpr int kForeign = -1000;  // throw std::runtime_error instead

    explicit ScriptedFile(std::string content = "", bool open = true)
        : m_content(std::move(content)) {
        m_hFile = open ? 1000 : hFileNull;
    }
    ~ScriptedFile() override { m_hFile = hFileNull; }  // nothing real to close

    std::string m_content, m_calls;
    size_t m_position = 0;
    std::map<std::string, int> m_throwCause;  // operation -> cause
    size_t m_throwAfter = 0;                  // Read calls that succeed before the throw
    size_t m_chunk = SIZE_MAX;                // most bytes one Read gives
    CString m_name = "name.txt", m_path = "/dir/name.txt";

    CString GetFileName() const override { return m_name; }
    CString GetFilePath() const override { return m_path; }
    LONG Seek(LONG offset, UINT from) override {
        Enter("Seek");
        const size_t base[] = {0, m_position, m_content.size()};  // begin, current, end
        return static_cast<LONG>(m_position = base[from] + static_cast<size_t>(offset));
    }
    void SetLength(DWORD length) override {
        Enter("SetLength");
        m_content.resize(length);
    }
    DWORD GetLength() const override {
        const_cast<ScriptedFile*>(this)->Enter("GetLength");
        return static_cast<DWORD>(m_content.size());
    }
    UINT Read(void* buffer, UINT count) override {
        Enter("Read");
        const size_t n = std::min(
            {size_t{count}, m_content.size() - std::min(m_position, m_content.size()), m_chunk});
        m_position += m_content.copy(static_cast<char*>(buffer), n, m_position);
        return static_cast<UINT>(n);
    }
    void Write(const void* buffer, UINT count) override {
        Enter("Write");
        m_content.replace(m_position, count, static_cast<const char*>(buffer), count);
        m_position += count;
    }
    void Close() override {  // forgets the path, as the platform's CFile does
        Enter("Close");
        m_hFile = hFileNull;
        m_path.Empty();
    }

protected:
    // Notes the call of `operation`, and throws as scripted.
    void Enter(const std::string& operation) {
        const auto scripted = m_throwCause.find(operation);
        const bool spared = operation == "Read" && m_throwAfter > 0 && m_throwAfter-- > 0;
        const bool throws = scripted != m_throwCause.end() && !spared;
        m_calls += (m_calls.empty() ? "" : " ") + operation + (throws ? "!" : "");
        if (throws && scripted->second == kForeign) {
            throw std::runtime_error(operation);
        }
        if (throws) {
            throw new TrackedException(scripted->second);  // NOLINT: the framework's convention
        }
    }
};

}  // namespace orvik::test

#endif  // ORVIK_TESTS_SCRIPTED_FILE_H
