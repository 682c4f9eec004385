// A simulated terminal whose drives live in a fresh temporary folder, and
// short ways to send it requests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "file_bytes.hpp"
#include "simulated_terminal.hpp"
#include "temporary_folder.hpp"

namespace termsim::test {

using pendra::wire::Command;
using pendra::wire::Reply;
using pendra::wire::Request;

using test_support::ReadAll;
using test_support::TemporaryFolder;
using test_support::WriteAll;

class TerminalTest : public ::testing::Test {
protected:
    TerminalConfig configFor(Model model) {
        TerminalConfig config;
        config.model = model;
        config.ramFolder = ram();
        config.flashFolder = flash();
        config.emsFolder = ems();
        return config;
    }

    SimulatedTerminal& start(Model model = Model::Gravo) { return start(configFor(model)); }

    SimulatedTerminal& start(const TerminalConfig& config) {
        std::string error;
        terminal_ = SimulatedTerminal::create(config, error);
        EXPECT_TRUE(terminal_) << error;
        EXPECT_TRUE(terminal_->prepareFolders(error)) << error;
        return *terminal_;
    }

    Reply send(Command command, std::string payload = {}, int16_t argument = 0) {
        Request request{command, terminal_->address(), argument, std::move(payload)};
        auto reply = terminal_->handle(request);
        EXPECT_TRUE(reply.has_value());
        return reply.value_or(Reply{});
    }
    Reply text(std::string request) { return send(Command::Text, std::move(request)); }

    std::filesystem::path ram() const { return folder_.Path() / "ram"; }
    std::filesystem::path flash() const { return folder_.Path() / "flash"; }
    std::filesystem::path ems() const { return folder_.Path() / "ems"; }

    TemporaryFolder folder_;
    std::optional<SimulatedTerminal> terminal_;
};

}  // namespace termsim::test
