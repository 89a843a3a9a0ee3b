// CObject, CString, and the window and thread objects.
#include "OrvikAfx.h"

CObject::~CObject() = default;

CString::CString(const char* text) : m_text(text ? text : "") {}

CString::CString(const char* text, int length) {
    if (text && length > 0) {
        m_text.assign(text, static_cast<size_t>(length));
    }
}

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
