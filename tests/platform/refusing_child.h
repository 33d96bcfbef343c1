#pragma once
// Runs a piece of a test in a forked child whose kernel refuses chosen
// system calls (a seccomp filter), so that code meets a real refusal: a
// file system that will not do O_DIRECT, a kernel without io_uring, a
// failing fdatasync. The child reports back a line of text.

#include "support/child_process.h"

#include <cerrno>
#include <cstdio>
#include <cstddef>
#include <fcntl.h>
#include <functional>
#include <linux/audit.h>
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

#if defined(__x86_64__)
inline constexpr unsigned kAuditArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
inline constexpr unsigned kAuditArch = AUDIT_ARCH_AARCH64;
#else
#error "no seccomp architecture for this machine"
#endif

// Opening with O_DIRECT fails with EINVAL, as on a file system without it.
inline std::vector<Refusal> noDirectIo()
{
    std::vector<Refusal> r {{SYS_openat, EINVAL, 2, O_DIRECT}};
#ifdef SYS_open
    r.push_back({SYS_open, EINVAL, 1, O_DIRECT});
#endif
    return r;
}

// io_uring_setup fails, as where rings are disabled.
inline std::vector<Refusal> noRing()
{
    return {{SYS_io_uring_setup, EPERM}};
}

inline bool installRefusals(const std::vector<Refusal>& refusals)
{
    std::vector<sock_filter> prog;
    auto add = [&](sock_filter f) { prog.push_back(f); };
    add(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)));
    add(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kAuditArch, 1, 0));
    add(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS));
    for (const Refusal& r : refusals) {
        const unsigned ret = SECCOMP_RET_ERRNO | (static_cast<unsigned>(r.err) & SECCOMP_RET_DATA);
        add(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)));
        if (r.flagArg < 0) {
            add(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<unsigned>(r.nr), 0, 1));
            add(BPF_STMT(BPF_RET | BPF_K, ret));
        } else {
            // Low 32 bits of the argument (little-endian machines).
            add(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<unsigned>(r.nr), 0, 3));
            add(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, static_cast<unsigned>(offsetof(seccomp_data, args)
                                                                        + 8 * static_cast<unsigned>(r.flagArg))));
            add(BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, r.flagMask, 0, 1));
            add(BPF_STMT(BPF_RET | BPF_K, ret));
        }
    }
    add(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    sock_fprog fprog {static_cast<unsigned short>(prog.size()), prog.data()};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0
           && ::syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &fprog) == 0;
}

// The child's report, or a line saying why there is none.
inline std::string inRefusingChild(const std::vector<Refusal>& refusals, const std::function<std::string()>& body)
{
    ChildResult r = runInChild([&] {
        std::string report = "seccomp refused";
        if (installRefusals(refusals)) {
            try {
                report = body();
            } catch (const std::exception& e) {
                report = std::string("error: ") + e.what();
            }
        }
        std::fputs(report.c_str(), stdout);
        return 0;
    });
    return r.exited && r.status == 0 ? r.out : "child died: " + describe(r);
}

} // namespace vantric::test
