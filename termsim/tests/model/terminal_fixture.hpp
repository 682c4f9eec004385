// A simulated terminal whose drives live in a fresh temporary folder, and
// short ways to send it requests.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "simulated_terminal.hpp"

namespace termsim::test {

using pendra::wire::Command;
using pendra::wire::Reply;
using pendra::wire::Request;

class TemporaryFolder {
public:
    TemporaryFolder() {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("termsim-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

inline std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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

    std::filesystem::path ram() const { return folder_.path() / "ram"; }
    std::filesystem::path flash() const { return folder_.path() / "flash"; }
    std::filesystem::path ems() const { return folder_.path() / "ems"; }

    TemporaryFolder folder_;
    std::optional<SimulatedTerminal> terminal_;
};

}  // namespace termsim::test
