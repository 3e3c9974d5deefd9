// UrlLauncher: opens a URL with the desktop's handler (xdg-open), started
// directly (no shell sees the text) and never waited for: the launcher's
// exit is collected later, whenever Reap runs.
#pragma once
#include <string>
#include <vector>

#include <sys/types.h>

class UrlLauncher {
public:
    explicit UrlLauncher(std::string program = "xdg-open");

    // Starts the program with url as its only argument. Refuses an empty url
    // and one starting with '-' (it would be read as an option). Returns
    // whether a process was started.
    bool Open(const std::string& url);
    // Collects every launcher that has exited; never blocks.
    void Reap();
    int Pending() const { return static_cast<int>(children_.size()); }

private:
    std::string program_;
    std::vector<pid_t> children_;
};
