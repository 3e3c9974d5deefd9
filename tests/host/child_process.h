// Running part of a test in a child process, so that it may give up root or
// lower a limit without touching the test program itself.
#pragma once
#include <sys/wait.h>
#include <unistd.h>

// The unprivileged user the children become when the suite runs as root.
constexpr uid_t kNobody = 65534;

// Runs body in a child process and returns its exit status (100 + signal
// when it was killed).
template <class Body>
int InChild(Body body) {
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

// Root ignores file permissions: a child that tests them gives up root first.
inline bool DropRoot() { return geteuid() != 0 || (setgid(kNobody) == 0 && setuid(kNobody) == 0); }

// Hands a file to the user a child becomes (nothing to do unless root).
inline bool GiveToChildUser(const char* path) { return geteuid() != 0 || ::chown(path, kNobody, kNobody) == 0; }
