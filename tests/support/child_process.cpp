// SPDX-License-Identifier: GPL-3.0-or-later
#include "child_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace tobric_test {

std::string RunAsOrdinaryUser(const std::function<bool()>& check, unsigned seconds) {
    constexpr uid_t kNobody = 65534;
    constexpr int kCannotDropPrivileges = 3;
    const pid_t child = ::fork();
    if (child < 0) return "cannot fork";
    if (child == 0) {
        ::alarm(seconds);  // an unanswered SIGALRM ends a child that hangs
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(kCannotDropPrivileges);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
        return "the check did not finish within " + std::to_string(seconds) + " s";
    if (WIFSIGNALED(status)) return "the check died of signal " + std::to_string(WTERMSIG(status));
    if (WEXITSTATUS(status) == kCannotDropPrivileges) return "cannot become an ordinary user";
    return WEXITSTATUS(status) == 0 ? "" : "the check failed";
}

}  // namespace tobric_test
