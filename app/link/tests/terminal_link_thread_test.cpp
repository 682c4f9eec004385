#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "link/handed_over_text.hpp"
#include "link/terminal_link.hpp"

namespace zelo::link {
namespace {

TEST(CTerminalLink, WaitUntilIdleReturnsOnceAnotherThreadSetsIdle) {
    LinkStatus status;
    WaitForIdle(status);  // idle from the start
    status.idle = 0;
    std::thread stopper([&status] { status.idle = 1; });
    WaitForIdle(status);
    stopper.join();
    EXPECT_EQ(status.idle.load(), 1);
}

TEST(HandedOverText, DisplayOnlyEverSeesWholeTexts) {
    HandedOverText fileName;
    std::thread worker([&fileName] {
        for (int i = 0; i < 2000; ++i) fileName.Set(std::string(40 + i % 50, i % 2 ? 'x' : 'y'));
    });
    for (int i = 0; i < 2000; ++i) {
        const std::string shown = fileName.Get();
        if (shown.empty()) continue;
        EXPECT_EQ(shown.find_first_not_of(shown[0]), std::string::npos);
    }
    worker.join();
}

}  // namespace
}  // namespace zelo::link
