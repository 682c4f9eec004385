#include "dialogs/qt/gui_requests.hpp"

namespace zelo::dialogs {

GuiRequests::GuiRequests(QObject* parent) : QObject(parent) {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &GuiRequests::RunPending);
    timer_.start();
}

void GuiRequests::RunPending() {
    std::deque<std::function<void()>> requests;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        requests.swap(pending_);
    }
    // A dialog opened here turns the event loop again, and with it this
    // timer; requests that arrive meanwhile are taken by that turn.
    for (auto& request : requests) request();
}

}  // namespace zelo::dialogs
