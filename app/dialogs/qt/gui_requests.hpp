#pragma once

#include <QObject>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace zelo::dialogs {

// How the worker has the user interface thread show a box or a choice
// dialog and waits for the answer. One object, made on the user interface
// thread, looks for requests every 10 ms on that thread's timer; requests
// and answers pass under one mutex, so the worker never touches a widget
// and the hand-over is plain to the thread checkers.
class GuiRequests : public QObject {
public:
    explicit GuiRequests(QObject* parent = nullptr);

    // Runs `ask` on the user interface thread and waits for its answer.
    // The dialog reads only what `ask` owns, so `ask` captures by value what
    // it shows. The wait also ends when `stopped` says so (asked every
    // 10 ms): the answer is then nothing, and a dialog not yet opened is
    // never opened, so a worker about to ask never blocks a Stop that waits
    // for it. Called on the user interface thread itself, it runs `ask` at
    // once.
    template <typename T>
    std::optional<T> Ask(std::function<std::optional<T>()> ask,
                         const std::function<bool()>& stopped);

private:
    void RunPending();

    QTimer timer_;
    std::mutex mutex_;
    std::deque<std::function<void()>> pending_;
};

template <typename T>
std::optional<T> GuiRequests::Ask(std::function<std::optional<T>()> ask,
                                  const std::function<bool()>& stopped) {
    if (QThread::currentThread() == thread()) return ask();

    struct Exchange {
        std::mutex mutex;
        std::condition_variable answered;
        bool done = false;
        bool abandoned = false;
        std::optional<T> answer;
    };
    auto exchange = std::make_shared<Exchange>();
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        pending_.push_back([exchange, ask = std::move(ask)] {
            {
                const std::lock_guard<std::mutex> guard(exchange->mutex);
                if (exchange->abandoned) return;
            }
            std::optional<T> answer = ask();
            const std::lock_guard<std::mutex> guard(exchange->mutex);
            exchange->answer = std::move(answer);
            exchange->done = true;
            exchange->answered.notify_all();
        });
    }
    std::unique_lock<std::mutex> lock(exchange->mutex);
    while (!exchange->done) {
        if (stopped()) {
            exchange->abandoned = true;
            return std::nullopt;
        }
        exchange->answered.wait_for(lock, std::chrono::milliseconds(10));
    }
    return std::move(exchange->answer);
}

}  // namespace zelo::dialogs
