#include "progress.h"

#include <unistd.h>

#include <cstdio>

namespace orvikfile {

namespace {

constexpr uint64_t kMiB = 1u << 20;

// The progress on show; a program shows one at a time.
Progress* g_current = nullptr;

}  // namespace

Progress::Progress(std::string label, uint64_t total)
    : m_label(std::move(label)),
      m_total(total),
      m_shown(total >= kThreshold && ::isatty(STDERR_FILENO) == 1) {
    if (m_shown) {
        g_current = this;
    }
}

Progress::~Progress() {
    Erase();
    if (g_current == this) {
        g_current = nullptr;
    }
}

void Progress::Interrupt() {
    if (g_current) {
        g_current->Erase();
    }
}

void Progress::Erase() {
    if (m_drawn) {
        std::fputs("\r\033[K", stderr);  // back to the line's start, and erase it
        m_drawn = false;
        m_nextRedraw = 0;
    }
}

void Progress::Redraw(uint64_t done) {
    const uint64_t percent = done >= m_total ? 100 : done * 100 / m_total;
    std::fprintf(stderr, "\r%s: %3u%% (%llu of %llu MiB)", m_label.c_str(),
                 static_cast<unsigned>(percent), static_cast<unsigned long long>(done / kMiB),
                 static_cast<unsigned long long>(m_total / kMiB));
    std::fflush(stderr);
    m_drawn = true;
    m_nextRedraw = (percent + 1) * m_total / 100;
}

}  // namespace orvikfile
