// CObject, CString, and the window and thread objects.
#include "OrvikAfx.h"

CObject::~CObject() = default;

CString::CString(const char* text) : m_text(text ? text : "") {}

CString::CString(const char* text, int length)
    : m_text(text && length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string()) {}

CString& CString::operator=(const char* text) {
    m_text = text ? text : "";
    return *this;
}

CString& CString::operator+=(const char* text) {
    if (text) {
        m_text += text;
    }
    return *this;
}

CWnd* CWinThread::GetMainWnd() { return m_pMainWnd; }

namespace {
thread_local CWinThread* t_thread = nullptr;
}  // namespace

CWinThread* AfxGetThread() { return t_thread; }

void AfxSetThread(CWinThread* thread) { t_thread = thread; }
