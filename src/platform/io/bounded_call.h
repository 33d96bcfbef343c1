#pragma once
// A query that may hang in the system (a dead network mount, a drive that
// does not answer) runs on a short-lived helper thread; the caller waits a
// bounded time and, if no answer came, goes on without it. The helper is
// left to finish on its own and frees what it shares with the caller.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace vantric {

template <typename T>
std::optional<T> callWithin(std::chrono::milliseconds limit, std::function<T()> query)
{
    struct Shared {
        std::mutex m;
        std::condition_variable cv;
        std::optional<T> value;
    };
    auto sh = std::make_shared<Shared>();
    try {
        std::thread([sh, query] {
            T v = query();
            std::lock_guard lock(sh->m);
            sh->value = std::move(v);
            sh->cv.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return query(); // no thread to be had: ask without the bound
    }
    std::unique_lock lock(sh->m);
    sh->cv.wait_for(lock, limit, [&] { return sh->value.has_value(); });
    return sh->value;
}

} // namespace vantric
