// A file object whose operations a test scripts. It serves an in-memory
// content, records every call in order, and throws a chosen cause (as a
// TrackedException, so that releases are counted) or a foreign exception
// from a chosen operation.
#ifndef ORVIK_TESTS_SCRIPTED_FILE_H
#define ORVIK_TESTS_SCRIPTED_FILE_H

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "OrvikAfx.h"
#include "tracked_exception.h"

namespace orvik::test {

class ScriptedFile : public CFile {
public:
    static constexpr int kForeign = -1000;  // throw std::runtime_error instead

    explicit ScriptedFile(std::string content = "", bool open = true)
        : m_content(std::move(content)) {
        if (open) {
            m_hFile = 1000;
        }
    }
    ~ScriptedFile() override { m_hFile = hFileNull; }  // nothing real to close

    std::string m_content;
    size_t m_position = 0;
    std::vector<std::string> m_calls;
    std::map<std::string, int> m_throwCause;  // operation -> cause
    size_t m_throwAfter = 0;                  // Read calls that succeed before the throw
    UINT m_chunk = 0xFFFFFFFFu;               // most bytes one Read gives
    BOOL m_openResult = TRUE;
    int m_openCause = -1;  // cause a refused Open writes; -1 none
    UINT m_openFlags = 0;
    CString m_name = "name.txt";
    CString m_path = "/dir/name.txt";

    std::string Calls() const {
        std::string joined;
        for (const std::string& call : m_calls) {
            joined += (joined.empty() ? "" : " ") + call;
        }
        return joined;
    }

    CString GetFileName() const override { return m_name; }
    CString GetFilePath() const override { return m_path; }
    void SetFilePath(LPCTSTR newName) override {
        m_calls.push_back("SetFilePath");
        m_path = newName;
    }
    BOOL Open(LPCTSTR, UINT openFlags, CFileException* error) override {
        m_calls.push_back("Open");
        m_openFlags = openFlags;
        if (m_openResult) {
            m_hFile = 1000;
        } else if (m_openCause >= 0 && error) {
            error->m_cause = m_openCause;
        }
        return m_openResult;
    }
    LONG Seek(LONG offset, UINT from) override {
        Enter("Seek");
        const long base = from == begin     ? 0
                          : from == current ? long(m_position)
                                            : long(m_content.size());
        m_position = static_cast<size_t>(base + offset);
        return static_cast<LONG>(m_position);
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
        if (m_throwAfter > 0) {
            --m_throwAfter;
            m_calls.push_back("Read");
        } else {
            Enter("Read");
        }
        const size_t left = m_position < m_content.size() ? m_content.size() - m_position : 0;
        const size_t n = std::min<size_t>({count, left, m_chunk});
        m_content.copy(static_cast<char*>(buffer), n, m_position);
        m_position += n;
        return static_cast<UINT>(n);
    }
    void Write(const void* buffer, UINT count) override {
        Enter("Write");
        m_content.replace(m_position, count, static_cast<const char*>(buffer), count);
        m_position += count;
    }
    void Close() override {
        Enter("Close");
        m_hFile = hFileNull;
    }

private:
    void Enter(const std::string& operation) {
        const auto scripted = m_throwCause.find(operation);
        if (scripted == m_throwCause.end()) {
            m_calls.push_back(operation);
            return;
        }
        m_calls.push_back(operation + "!");
        if (scripted->second == kForeign) {
            throw std::runtime_error(operation);
        }
        throw new TrackedException(scripted->second);  // NOLINT: the framework's convention
    }
};

}  // namespace orvik::test

#endif  // ORVIK_TESTS_SCRIPTED_FILE_H
