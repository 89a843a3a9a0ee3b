// Runs the built orvikfile program from a bash script and collects its exit
// status, standard output and standard error.
#ifndef ORVIK_TESTS_RUN_PROGRAM_H
#define ORVIK_TESTS_RUN_PROGRAM_H

#include <sys/wait.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace orvik::test {

struct Outcome {
    int status = -1;  // the exit status; -1 when a signal ended it
    std::string out, err;
};

// `word` for the shell: in single quotes, a quote in it spelled '\''.
inline std::string Quoted(const std::string& word) {
    return "'" + std::regex_replace(word, std::regex("'"), "'\\''") + "'";
}

// Runs `script` with bash, "$0" the program and "$1"... the `words`.
inline Outcome RunInBash(const std::string& script, const std::vector<std::string>& words) {
    const TempDir io;
    std::string command = "bash -c " + Quoted(script) + " " + Quoted(ORVIKFILE_PROGRAM);
    for (const std::string& word : words) {
        command += " " + Quoted(word);
    }
    const int wait = std::system(
        (command + " </dev/null >" + Quoted(io / "out") + " 2>" + Quoted(io / "err")).c_str());
    return {WIFEXITED(wait) ? WEXITSTATUS(wait) : -1, io.Read("out"), io.Read("err")};
}

// Runs orvikfile with `args`, its standard input `input` through a pipe, as
// in a shell pipeline.
inline Outcome RunOrvikfile(std::vector<std::string> args, const std::string& input = "") {
    const TempDir in;
    args.insert(args.begin(), in.Write("in", input));
    return RunInBash(R"(cat "$1" | "$0" "${@:2}")", args);
}

}  // namespace orvik::test

#endif  // ORVIK_TESTS_RUN_PROGRAM_H
