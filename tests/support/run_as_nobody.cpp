// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/temp_folder.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kavi::testing {

int runAsNobody(int (*fn)(void*), void* arg) {
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        constexpr gid_t kNogroup = 65534;
        constexpr uid_t kNobody = 65534;
        if (setgroups(0, nullptr) != 0 || setresgid(kNogroup, kNogroup, kNogroup) != 0 ||
            setresuid(kNobody, kNobody, kNobody) != 0)
            _exit(125);
        _exit(fn(arg));
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

} // namespace kavi::testing
