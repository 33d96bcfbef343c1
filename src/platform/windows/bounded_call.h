#pragma once
// A query that may hang (a network drive that does not answer) runs on a
// short-lived helper thread; the caller waits a bounded time and, if no
// answer came, goes on without it. The helper finishes on its own and
// frees what it shares with the caller.

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace vantric {

template <typename T>
std::optional<T> callWithin(std::chrono::milliseconds limit, std::function<T()> query)
{
    struct Shared {
        std::function<T()> query;
        std::optional<T> value;
        HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ~Shared() { ::CloseHandle(done); }
    };
    auto* holder = new std::shared_ptr<Shared>(std::make_shared<Shared>());
    std::shared_ptr<Shared> sh = *holder;
    sh->query = std::move(query);
    auto run = [](void* p) -> DWORD {
        std::unique_ptr<std::shared_ptr<Shared>> mine(static_cast<std::shared_ptr<Shared>*>(p));
        // A drive without its medium must fail the query, not ask the user.
        ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
        (*mine)->value = (*mine)->query();
        ::SetEvent((*mine)->done);
        return 0;
    };
    HANDLE thread = ::CreateThread(nullptr, 0, run, holder, 0, nullptr);
    if (!thread) {
        delete holder;
        return sh->query();
    }
    ::CloseHandle(thread);
    if (::WaitForSingleObject(sh->done, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    return sh->value;
}

} // namespace vantric
