#pragma once
// A query that may hang in the kernel (a dead network mount) runs on a
// short-lived helper thread; the caller waits a bounded time and, if no
// answer came, goes on without it. The helper is left to finish on its own.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
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
    std::thread([sh, query = std::move(query)] {
        T v = query();
        std::lock_guard lock(sh->m);
        sh->value = std::move(v);
        sh->cv.notify_all();
    }).detach();
    std::unique_lock lock(sh->m);
    sh->cv.wait_for(lock, limit, [&] { return sh->value.has_value(); });
    return sh->value;
}

} // namespace vantric
