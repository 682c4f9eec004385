// A line server on a pseudo-terminal, on a thread of its own, that the link
// layer opens as COM port `port`: the one way the simulator's tests put a
// line under the real link layer. The link's lock files go to a scratch
// folder of the line's own, and each line starts from the link's default
// protocol and retransmissions, whatever an earlier test set.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "line_server.hpp"
#include "pseudo_terminal.hpp"
#include "temporary_folder.hpp"

namespace termsim::testing {

class PseudoTerminalLine {
public:
    explicit PseudoTerminalLine(int32_t port) : port_(port) {
        std::filesystem::create_directories(lockFolder());
        ::setenv("PENDRA_LOCK_DIR", lockFolder().c_str(), 1);
        ::unsetenv("PENDRA_PROTOCOL");
        ::unsetenv("PENDRA_RETRANSMISSIONS");
    }
    ~PseudoTerminalLine() { unplug(); }
    PseudoTerminalLine(const PseudoTerminalLine&) = delete;
    PseudoTerminalLine& operator=(const PseudoTerminalLine&) = delete;

    // Serves `terminals`, which must outlive the serving; a new device each
    // time. Call it through ASSERT_NO_FATAL_FAILURE where a failure must
    // end the test.
    void start(TerminalLine& terminals, LineOptions options = {}) {
        unplug();
        std::string error;
        pty_ = PseudoTerminal::create(error);
        ASSERT_TRUE(pty_) << error;
        ::setenv(("PENDRA_PORT" + std::to_string(port_)).c_str(), pty_->slavePath().c_str(), 1);
        server_ = std::make_unique<LineServer>(terminals, pty_->takeMaster(), options);
        server_->start();
    }

    // Pulls the plug: the server stops and the device goes away.
    void unplug() {
        server_.reset();
        pty_.reset();
    }

    LineServer& server() const { return *server_; }
    const std::string& slavePath() const { return pty_->slavePath(); }
    // A scratch folder that lasts as long as the line.
    const std::filesystem::path& folder() const { return folder_.Path(); }
    std::filesystem::path lockFolder() const { return folder_.Path() / "locks"; }
    // The UUCP lock file of the device: /dev/pts/N -> LCK..pts_N.
    std::string lockFilePath() const {
        std::string name = pty_->slavePath().substr(5);
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        return (lockFolder() / ("LCK.." + name)).string();
    }

private:
    int32_t port_;
    test_support::TemporaryFolder folder_{"termsim-line"};
    std::unique_ptr<PseudoTerminal> pty_;
    std::unique_ptr<LineServer> server_;
};

}  // namespace termsim::testing
