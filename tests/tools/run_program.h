// Runs the built orvikfile program with arguments and a standard input, and
// collects its exit status, standard output and standard error.
#ifndef ORVIK_TESTS_RUN_PROGRAM_H
#define ORVIK_TESTS_RUN_PROGRAM_H

#include <string>
#include <vector>

namespace orvik::test {

struct Outcome {
    int status = -1;  // the exit status; 128 + the signal when one ended it
    std::string out;
    std::string err;
};

// Runs orvikfile with `args`, in the current directory and environment, less
// the variables named in `unset`.
Outcome RunOrvikfile(const std::vector<std::string>& args, const std::string& input = "",
                     const std::vector<std::string>& unset = {});

// Runs `script` with bash, "$0" the program and "$1" on the `words`: an
// input handed over as a shell hands it (a pipe, a FIFO, <(...)).
Outcome RunInBash(const std::string& script, const std::vector<std::string>& words);

}  // namespace orvik::test

#endif  // ORVIK_TESTS_RUN_PROGRAM_H
