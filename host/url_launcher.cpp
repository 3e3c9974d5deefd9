#include "host/url_launcher.h"

#include <spawn.h>
#include <sys/wait.h>

#include <utility>

extern char** environ;

UrlLauncher::UrlLauncher(std::string program) : program_(std::move(program)) {}

bool UrlLauncher::Open(const std::string& url) {
    Reap();
    if (url.empty() || url[0] == '-') return false;
    std::string program = program_;
    std::string argument = url;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
    children_.push_back(pid);
    return true;
}

void UrlLauncher::Reap() {
    for (std::size_t i = 0; i < children_.size();) {
        int status = 0;
        pid_t r = waitpid(children_[i], &status, WNOHANG);
        if (r == 0) {
            ++i;
            continue;
        }
        // Exited, or no longer ours to wait for (someone else reaped it).
        children_.erase(children_.begin() + static_cast<long>(i));
    }
}
