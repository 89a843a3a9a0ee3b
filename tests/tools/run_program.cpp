#include "run_program.h"

#include <sys/wait.h>

#include <cstdlib>

#include "temp_dir.h"

namespace orvik::test {

namespace {

// `word` for the shell: in single quotes, a quote in it spelled '\''.
std::string Quoted(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs `command` with sh, its output and errors caught in `io`.
Outcome Capture(const TempDir& io, const std::string& command) {
    const std::string redirected = command + " >" + Quoted(io / "out") + " 2>" + Quoted(io / "err");
    const int wait = std::system(redirected.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    outcome.out = io.Read("out");
    outcome.err = io.Read("err");
    return outcome;
}

}  // namespace

// Standard input comes through a pipe, as in a shell pipeline; a program that
// ends without reading it all only ends the cat that feeds it.
Outcome RunOrvikfile(const std::vector<std::string>& args, const std::string& input,
                     const std::vector<std::string>& unset) {
    const TempDir io;
    std::string command = "cat " + Quoted(io.Write("in", input)) + " | env";
    for (const std::string& name : unset) {
        command += " -u " + Quoted(name);
    }
    command += " " + Quoted(ORVIKFILE_PROGRAM);
    for (const std::string& arg : args) {
        command += " " + Quoted(arg);
    }
    return Capture(io, command);
}

Outcome RunInBash(const std::string& script, const std::vector<std::string>& words) {
    const TempDir io;
    std::string command = "bash -c " + Quoted(script) + " " + Quoted(ORVIKFILE_PROGRAM);
    for (const std::string& word : words) {
        command += " " + Quoted(word);
    }
    return Capture(io, command + " </dev/null");
}

}  // namespace orvik::test
