#include "dialogs/qt/gui_requests.hpp"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <thread>

namespace zelo::dialogs {
namespace {

// The event loop of the user interface thread, turned by hand. Google Test
// rather than Qt Test: Qt Test's watchdog thread is not built for
// ThreadSanitizer and would be all it reports.
class GuiThreadRequest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "gui_thread_request_test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }

    // Turns the event loop until `done`; false after a generous bound.
    static bool TurnUntil(const std::atomic<bool>& done) {
        QElapsedTimer timer;
        timer.start();
        while (!done.load()) {
            if (timer.elapsed() > 30000) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }

    GuiRequests gui_;
};

TEST_F(GuiThreadRequest, AWorkerGetsTheAnswerGivenOnTheGuiThread) {
    std::atomic<bool> askedOnGui{false};
    std::atomic<bool> finished{false};
    std::optional<int> answer;
    std::thread worker([&] {
        answer = gui_.Ask<int>(
            [&]() -> std::optional<int> {
                askedOnGui = QThread::currentThread() == gui_.thread();
                return 42;
            },
            [] { return false; });
        finished = true;
    });
    const bool answered = TurnUntil(finished);
    worker.join();
    ASSERT_TRUE(answered);
    EXPECT_TRUE(askedOnGui.load());
    EXPECT_EQ(answer.value_or(0), 42);
}

TEST_F(GuiThreadRequest, StopEndsTheWaitAndTheDialogNeverOpens) {
    std::atomic<int> asked{0};
    std::atomic<bool> stop{false};
    std::optional<int> answer = 7;
    // The gui thread is busy here, not in its event loop, when Stop comes:
    // the worker must not wait for it.
    std::thread worker([&] {
        answer = gui_.Ask<int>(
            [&]() -> std::optional<int> {
                ++asked;
                return 1;
            },
            [&] { return stop.load(); });
    });
    stop = true;
    worker.join();
    EXPECT_FALSE(answer.has_value());
    // Turns the loop long enough for the timer to take the request.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(asked.load(), 0);
}

TEST_F(GuiThreadRequest, OnTheGuiThreadItAsksAtOnce) {
    int asked = 0;
    const std::optional<int> answer = gui_.Ask<int>(
        [&]() -> std::optional<int> {
            ++asked;
            return std::nullopt;
        },
        [] { return true; });
    EXPECT_FALSE(answer.has_value());
    EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace zelo::dialogs
