// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A query that may hang in the system (a dead network mount, a drive that
// does not answer) runs on a short-lived helper thread; the caller waits a
// bounded time and, if no answer came, goes on without it. The helper is
// left to finish on its own and frees what it shares with the caller.

#include "platform/errors.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
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
    std::thread helper;
    try {
        helper = std::thread([sh, query] {
            T v = query();
            std::lock_guard lock(sh->m);
            sh->value = std::move(v);
            sh->cv.notify_all();
        });
    } catch (const std::system_error&) {
        return query(); // no thread to be had: ask without the bound
    }
    std::unique_lock lock(sh->m);
    const bool answered = sh->cv.wait_for(lock, limit, [&] { return sh->value.has_value(); });
    lock.unlock();
    // An answered helper is only finishing: wait for it, so that no thread
    // is still winding down when the program exits.
    if (!answered) {
        helper.detach();
        return std::nullopt;
    }
    helper.join();
    return std::move(sh->value);
}

// The drives' space queries: a place whose query once went unanswered fails
// at once from then on, rather than tie up one more helper.
class DriveQueries {
public:
    // `subject` names what did not answer: "file system", "drive".
    explicit DriveQueries(std::string subject) : subject_(std::move(subject)) {}

    template <typename T>
    T ask(const std::string& place, std::function<T()> query)
    {
        {
            std::lock_guard lock(m_);
            if (hung_.count(place))
                throw VantricError("Cannot query the drive", "The " + subject_ + " does not answer", place);
        }
        auto answer = callWithin<T>(std::chrono::seconds(2), std::move(query));
        if (!answer) {
            std::lock_guard lock(m_);
            hung_.insert(place);
            throw VantricError("Cannot query the drive", "The " + subject_ + " did not answer within 2 seconds",
                               place);
        }
        return std::move(*answer);
    }

private:
    std::string subject_;
    std::mutex m_;
    std::set<std::string> hung_;
};

} // namespace vantric
