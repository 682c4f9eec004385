// A blocking call that the system gives no time limit (a host-name lookup)
// run on a thread of its own and waited for at most a given time, or until
// the caller's stop check says to stop. Then the caller goes on; the thread
// finishes alone later and its result is dropped with the state it shares.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "stop_check.hpp"

namespace pendra::platform {

template <class Result>
std::optional<Result> resultWithin(std::function<Result()> work, std::chrono::milliseconds limit) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<Result> result;
    };
    auto shared = std::make_shared<Shared>();
    try {
        std::thread([shared, work = std::move(work)] {
            Result result = work();
            std::lock_guard<std::mutex> guard(shared->mutex);
            shared->result = std::move(result);
            shared->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return std::nullopt;  // no thread to be had: as if the time ran out
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::unique_lock<std::mutex> lock(shared->mutex);
    while (!shared->result && std::chrono::steady_clock::now() < deadline && !stopAsked()) {
        const auto slice = std::min<std::chrono::steady_clock::duration>(
            deadline - std::chrono::steady_clock::now(), std::chrono::milliseconds(kStopLookMs));
        shared->done.wait_for(lock, slice, [&] { return shared->result.has_value(); });
    }
    return shared->result;
}

}  // namespace pendra::platform
