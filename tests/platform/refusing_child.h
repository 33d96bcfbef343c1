// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A forked child whose kernel refuses chosen system calls (seccomp); it reports a line of text.

#include "support/child_process.h"

#include <cstddef>
#include <cstdio>
#include <functional>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <string>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace vantric::test {

struct Refusal {
    long nr;               // system call number
    int err;               // errno the kernel answers with
    int flagArg = -1;      // argument to look at, or -1: every call is refused
    unsigned flagMask = 0; // refused only when one of these bits is set in it
};

inline bool installRefusals(const std::vector<Refusal>& refusals)
{
    std::vector<sock_filter> prog;
    for (const Refusal& r : refusals) {
        const unsigned ret = SECCOMP_RET_ERRNO | (static_cast<unsigned>(r.err) & SECCOMP_RET_DATA);
        const auto nr = static_cast<unsigned>(r.nr);
        prog.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)));
        if (r.flagArg < 0) {
            prog.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, nr, 0, 1));
        } else {
            // The argument's low 32 bits (little-endian machines).
            const auto arg = static_cast<unsigned>(offsetof(seccomp_data, args) + 8 * static_cast<unsigned>(r.flagArg));
            prog.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, nr, 0, 3));
            prog.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, arg));
            prog.push_back(BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, r.flagMask, 0, 1));
        }
        prog.push_back(BPF_STMT(BPF_RET | BPF_K, ret));
    }
    prog.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    sock_fprog fprog {static_cast<unsigned short>(prog.size()), prog.data()};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0
           && ::syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &fprog) == 0;
}

// The child's report, or a line saying why there is none.
inline std::string inRefusingChild(const std::vector<Refusal>& refusals, const std::function<std::string()>& body)
{
    ChildResult r = runInChild([&] {
        std::fputs(installRefusals(refusals) ? body().c_str() : "seccomp refused", stdout);
        return 0;
    });
    return r.exited && r.status == 0 ? r.out : "child died: " + describe(r);
}

} // namespace vantric::test
