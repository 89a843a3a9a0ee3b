// A progress line on stderr for long reads, shown only to a person: when
// stderr is a terminal and the input is large enough to keep them waiting.
#ifndef ORVIKFILE_PROGRESS_H
#define ORVIKFILE_PROGRESS_H

#include <cstdint>
#include <string>

namespace orvikfile {

class Progress {
public:
    // Inputs from this size on get a progress line.
    static constexpr uint64_t kThreshold = 4u << 20;

    Progress(std::string label, uint64_t total);
    ~Progress();  // clears the line
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // `done` bytes of the total are behind us; redraws when the percentage moved.
    void Update(uint64_t done) {
        if (m_shown && done >= m_nextRedraw) {
            Redraw(done);
        }
    }

    // Erases the line of the progress shown now, if any, so that a message
    // can take its place; the next Update draws it again.
    static void Interrupt();

private:
    void Redraw(uint64_t done);
    void Erase();

    std::string m_label;
    uint64_t m_total;
    uint64_t m_nextRedraw = 0;
    bool m_shown;
    bool m_drawn = false;  // the line is on the terminal now
};

}  // namespace orvikfile

#endif  // ORVIKFILE_PROGRESS_H
