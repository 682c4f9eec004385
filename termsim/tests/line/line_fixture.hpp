// A line server on a pseudo-terminal, on a thread of its own, with scripted
// terminals; the link layer reaches it as COM port kPort.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "pendra.h"
#include "pseudo_terminal_line.hpp"
#include "scripted_terminals.hpp"

namespace termsim::testing {

inline constexpr int32_t kPort = 5;
inline constexpr int kAnswerAllowanceMs = 300;

class LineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("PENDRA_ANSWER_MS", std::to_string(kAnswerAllowanceMs).c_str(), 1);
        ::setenv("PENDRA_MODEM_GUARD_MS", "250", 1);
    }

    void TearDown() override {
        closeLink();
        ptyLine_.unplug();
    }

    void startLine(LineOptions options = {}) {
        options.modemGuard = std::chrono::milliseconds(200);
        ptyLine_.start(terminals_, options);
    }

    // Opens the link at 57600 baud, 8N1, as the command library would.
    PendraHandle openLink() {
        PendraHandle h = Pendra_Create();
        EXPECT_NE(h, 0u);
        if (Pendra_SetupEx(h, kPort, 'A', '1', 'N') == 0 || Pendra_Connect(h) == 0) {
            Pendra_Destroy(h);
            return 0;
        }
        return h;
    }

    void openMainLink() {
        link_ = openLink();
        ASSERT_NE(link_, 0u);
    }

    void closeLink() {
        if (link_ != 0) Pendra_Destroy(link_);
        link_ = 0;
    }

    ScriptedTerminals terminals_;
    PseudoTerminalLine ptyLine_{kPort};
    PendraHandle link_ = 0;
};

}  // namespace termsim::testing
