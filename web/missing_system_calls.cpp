// System calls the browser does not have. The desktop host's fault handlers
// and URL launcher reference them; on the web they report "not supported",
// which both already treat as a call that did nothing.
#include <cerrno>
#include <signal.h>
#include <spawn.h>

extern "C" int sigaltstack(const stack_t*, stack_t*) {
    errno = ENOSYS;
    return -1;
}

extern "C" int posix_spawnp(pid_t*, const char*, const posix_spawn_file_actions_t*, const posix_spawnattr_t*,
                            char* const[], char* const[]) {
    return ENOSYS;
}
