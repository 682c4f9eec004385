// A simulated line of terminals in a temporary folder, driven request by
// request, with its state dump at hand.
#pragma once

#include "simulated_line.hpp"
#include "state_field.hpp"
#include "terminal_fixture.hpp"

namespace termsim::test {

class LineTest : public ::testing::Test {
protected:
    // One terminal per address, each with drives under its own folder.
    void startLine(const std::string& addresses, Model model = Model::Gravo,
                   std::optional<ModemConfig> modem = std::nullopt) {
        std::vector<SimulatedTerminal> terminals;
        for (char address : addresses) {
            TerminalConfig config;
            config.address = address;
            config.model = model;
            config.ramFolder = folder_.Path() / std::string(1, address) / "ram";
            config.flashFolder = folder_.Path() / std::string(1, address) / "flash";
            std::string error;
            auto terminal = SimulatedTerminal::create(config, error);
            ASSERT_TRUE(terminal) << error;
            ASSERT_TRUE(terminal->prepareFolders(error)) << error;
            terminals.push_back(std::move(*terminal));
        }
        line_.emplace(std::move(terminals), std::move(modem));
    }

    std::optional<Reply> send(char address, Command command, std::string payload = {},
                              int16_t argument = 0) {
        return line_->handle(Request{command, address, argument, std::move(payload)});
    }
    uint8_t text(char address, std::string request) {
        auto reply = send(address, Command::Text, std::move(request));
        return reply ? reply->status : 0;
    }

    // The dump's text for one field of the terminal at `index`.
    std::string dumped(const std::string& field, std::size_t index = 0) const {
        return testing::stateField(line_->stateJson(), field, index);
    }

    TemporaryFolder folder_;
    std::optional<SimulatedLine> line_;
};

}  // namespace termsim::test
