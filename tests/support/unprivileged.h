#pragma once
// Permission tests mean nothing to root, and CI runs as root: such a test runs its check
// in a forked child that first gives up root for the "nobody" user.
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace quovella::testing {

inline constexpr uid_t kNobody = 65534;

// The check's answer, run without root's powers over files; false when the child could
// not give up root or did not finish normally.
inline bool runUnprivileged(const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace quovella::testing
