#include "ExternalCommand.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace {

std::string FindInPath(const std::string& program) {
    if (program.find('/') != std::string::npos)
        return ::access(program.c_str(), X_OK) == 0 ? program : std::string();
    const char* path = std::getenv("PATH");
    std::string_view dirs = path != nullptr ? path : "/usr/bin:/bin";
    while (!dirs.empty()) {
        const std::size_t colon = dirs.find(':');
        std::string_view dir = dirs.substr(0, colon);
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
        const std::string candidate =
            (dir.empty() ? std::string(".") : std::string(dir)) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

// Owns the file actions of one spawn, so they are destroyed on every path.
class SpawnActions {
public:
    SpawnActions() { ::posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { ::posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    bool DiscardOutput() {
        return ::posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY,
                                                  0) == 0 &&
               ::posix_spawn_file_actions_addopen(&actions_, STDERR_FILENO, "/dev/null", O_WRONLY,
                                                  0) == 0;
    }
    const posix_spawn_file_actions_t* Get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

std::string DescribeStatus(int status) {
    if (WIFEXITED(status))
        return "exited with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return std::string("killed by signal ") + ::strsignal(WTERMSIG(status));
    return "ended abnormally";
}

} // namespace

ExternalCommand::ExternalCommand(std::vector<std::string> argv)
    : argv_(std::move(argv)), executable_(FindInPath(argv_.front())) {}

std::optional<std::string> ExternalCommand::Run() const {
    if (!Available())
        return Program() + " is not installed";
    std::vector<char*> args;
    args.reserve(argv_.size() + 1);
    for (const std::string& arg : argv_)
        args.push_back(const_cast<char*>(arg.c_str())); // posix_spawn does not write them
    args.push_back(nullptr);

    SpawnActions actions;
    if (!actions.DiscardOutput())
        return "cannot redirect the output of " + Program();
    pid_t pid = 0;
    const int spawnError =
        ::posix_spawn(&pid, executable_.c_str(), actions.Get(), nullptr, args.data(), environ);
    if (spawnError != 0)
        return "cannot start " + executable_ + ": " + std::strerror(spawnError);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return "cannot wait for " + Program() + ": " + std::strerror(errno);
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return std::nullopt;
    return Program() + " " + DescribeStatus(status);
}
