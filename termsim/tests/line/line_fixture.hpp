// A line server on a pseudo-terminal, on a thread of its own, with scripted
// terminals; the link layer reaches it as COM port kPort.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>
#include <string>

#include "line_server.hpp"
#include "pendra.h"
#include "pseudo_terminal.hpp"
#include "scripted_terminals.hpp"

namespace termsim::testing {

inline constexpr int32_t kPort = 5;
inline constexpr int kAnswerAllowanceMs = 300;

class LineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("PENDRA_ANSWER_MS", std::to_string(kAnswerAllowanceMs).c_str(), 1);
        ::setenv("PENDRA_MODEM_GUARD_MS", "250", 1);
        ::unsetenv("PENDRA_RETRANSMISSIONS");
        char folder[] = "/tmp/pendra-locks-XXXXXX";
        ASSERT_NE(::mkdtemp(folder), nullptr);
        lockFolder_ = folder;
        ::setenv("PENDRA_LOCK_DIR", folder, 1);
    }

    void TearDown() override {
        closeLink();
        server_.reset();
        pty_.reset();
        std::string cleanup = "rm -rf " + lockFolder_;
        ASSERT_EQ(std::system(cleanup.c_str()), 0);
    }

    void startLine(LineOptions options = {}) {
        options.modemGuard = std::chrono::milliseconds(200);
        std::string error;
        pty_ = PseudoTerminal::create(error);
        ASSERT_TRUE(pty_) << error;
        ::setenv(("PENDRA_PORT" + std::to_string(kPort)).c_str(), pty_->slavePath().c_str(), 1);
        server_ = std::make_unique<LineServer>(terminals_, pty_->takeMaster(), options);
        server_->start();
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

    // The UUCP lock file of the pseudo-terminal: /dev/pts/N -> LCK..pts_N.
    std::string lockFilePath() const {
        std::string name = pty_->slavePath().substr(5);
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        return lockFolder_ + "/LCK.." + name;
    }

    ScriptedTerminals terminals_;
    std::unique_ptr<PseudoTerminal> pty_;
    std::unique_ptr<LineServer> server_;
    PendraHandle link_ = 0;
    std::string lockFolder_;
};

}  // namespace termsim::testing
