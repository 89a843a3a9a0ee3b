// CObject, CString, and the window and thread objects.
#include <atomic>
#include <climits>
#include <cstring>
#include <new>

#include "OrvikAfx.h"

CObject::~CObject() = default;

// The characters follow the header in one block; the last owner frees it.
struct CString::Text {
    std::atomic<size_t> owners;
    size_t length;
    char* Characters() { return reinterpret_cast<char*>(this + 1); }
};

CString::CString(const char* text) {
    if (text != nullptr) {
        Assign(text, std::strlen(text));
    }
}

CString::CString(const char* text, int length) {
    if (text != nullptr && length > 0) {
        Assign(text, static_cast<size_t>(length));
    }
}

CString::CString(const CString& other) noexcept : m_text(other.m_text), m_first(other.m_first) {
    if (m_text != nullptr) {
        m_text->owners.fetch_add(1, std::memory_order_relaxed);
    }
}

CString::CString(CString&& other) noexcept : m_text(other.m_text), m_first(other.m_first) {
    other.m_text = nullptr;
    other.m_first = 0;
}

CString& CString::operator=(const CString& other) noexcept {
    if (this == &other) {
        return *this;
    }
    if (other.m_text != nullptr) {
        other.m_text->owners.fetch_add(1, std::memory_order_relaxed);
    }
    Release();
    m_text = other.m_text;
    m_first = other.m_first;
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    if (this != &other) {
        Release();
        m_text = other.m_text;
        m_first = other.m_first;
        other.m_text = nullptr;
        other.m_first = 0;
    }
    return *this;
}

CString::~CString() {
    Release();
}

int CString::GetLength() const noexcept {
    if (m_text == nullptr) {
        return 0;
    }
    const size_t length = m_text->length - m_first;
    return length > INT_MAX ? INT_MAX : static_cast<int>(length);
}

void CString::Empty() noexcept {
    Release();
}

const char* CString::GetString() const noexcept {
    return m_text != nullptr ? m_text->Characters() + m_first : "";
}

CString& CString::operator=(const char* text) {
    if (text == nullptr || *text == '\0') {
        Release();
    } else {
        Assign(text, std::strlen(text));  // `text` may lie in this object's own text
    }
    return *this;
}

CString& CString::operator+=(const char* text) {
    if (text == nullptr || *text == '\0') {
        return *this;
    }
    const size_t had = m_text != nullptr ? m_text->length - m_first : 0;
    const size_t added = std::strlen(text);
    void* block = ::operator new(sizeof(Text) + had + added + 1);
    Text* joined = new (block) Text{{1}, had + added};
    std::memcpy(joined->Characters(), GetString(), had);
    std::memcpy(joined->Characters() + had, text, added + 1);
    Release();
    m_text = joined;
    return *this;
}

bool CString::Equal(const CString& a, const char* b) noexcept {
    return std::strcmp(a.GetString(), b != nullptr ? b : "") == 0;
}

void CString::Assign(const char* text, size_t length) {
    if (length == 0) {
        Release();
        return;
    }
    void* block = ::operator new(sizeof(Text) + length + 1);
    Text* made = new (block) Text{{1}, length};
    std::memcpy(made->Characters(), text, length);
    made->Characters()[length] = '\0';
    Release();
    m_text = made;
}

CString CString::Mid(int first) const noexcept {
    CString tail(*this);
    if (first > 0) {
        if (m_text == nullptr || static_cast<size_t>(first) >= m_text->length - m_first) {
            tail.Release();
        } else {
            tail.m_first += static_cast<size_t>(first);
        }
    }
    return tail;
}

void CString::Release() noexcept {
    Text* text = m_text;
    m_text = nullptr;
    m_first = 0;
    if (text != nullptr && text->owners.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        text->~Text();
        ::operator delete(text);
    }
}

CWnd* CWinThread::GetMainWnd() {
    return m_pMainWnd;
}

namespace {
thread_local CWinThread* t_thread = nullptr;
}  // namespace

CWinThread* AfxGetThread() {
    return t_thread;
}

void AfxSetThread(CWinThread* thread) {
    t_thread = thread;
}
