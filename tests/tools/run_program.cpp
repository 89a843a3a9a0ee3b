#include "run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "temp_dir.h"

namespace orvik::test {

namespace {

std::vector<char*> Environment(const std::vector<std::string>& unset) {
    std::vector<char*> kept;
    for (char** entry = environ; *entry; ++entry) {
        bool dropped = false;
        for (const std::string& name : unset) {
            dropped = dropped || (std::strncmp(*entry, name.c_str(), name.size()) == 0 &&
                                  (*entry)[name.size()] == '=');
        }
        if (!dropped) {
            kept.push_back(*entry);
        }
    }
    kept.push_back(nullptr);
    return kept;
}

}  // namespace

Outcome RunOrvikfile(const std::vector<std::string>& args, const std::string& input,
                     const std::vector<std::string>& unset) {
    const TempDir io;
    const std::string out = io / "out";
    const std::string err = io / "err";

    std::vector<std::string> words = {ORVIKFILE_PROGRAM};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    // Standard input is a pipe, as in a shell pipeline. A program that ends
    // without reading it all must not take this process down with SIGPIPE.
    int in[2];
    if (pipe(in) != 0) {
        throw std::runtime_error(std::string("no pipe: ") + std::strerror(errno));
    }
    signal(SIGPIPE, SIG_IGN);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_addclose(&actions, in[0]);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> env = Environment(unset);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    for (size_t sent = 0; failed == 0 && sent < input.size();) {
        const ssize_t wrote = write(in[1], input.data() + sent, input.size() - sent);
        if (wrote < 0 && errno != EINTR) {
            break;  // the program stopped reading
        }
        sent += wrote > 0 ? static_cast<size_t>(wrote) : 0;
    }
    close(in[1]);
    if (failed != 0) {
        throw std::runtime_error(std::string("cannot run orvikfile: ") + std::strerror(failed));
    }
    int wait = 0;
    while (waitpid(pid, &wait, 0) < 0 && errno == EINTR) {
    }
    Outcome outcome;
    outcome.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    outcome.out = io.Read("out");
    outcome.err = io.Read("err");
    return outcome;
}

}  // namespace orvik::test
