// A line of simulated terminals on a pseudo-terminal, served on a thread of
// its own, that the command library reaches as COM port kPort through the
// real link layer. Each terminal keeps its drives in a temporary folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "line_server.hpp"
#include "pseudo_terminal.hpp"
#include "simulated_line.hpp"
#include "zelodll.h"

namespace termsim::end_to_end {

inline constexpr int32_t kPort = 7;
inline constexpr int32_t kBaudIndex57600 = 9;

class LineUnderTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        folder_ = std::filesystem::temp_directory_path() /
                  ("zelo-e2e-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_ / "locks");
        std::filesystem::create_directories(folder_ / "host");
        ::setenv("PENDRA_LOCK_DIR", (folder_ / "locks").c_str(), 1);
        // Short bounds keep the tests of silence quick; the pseudo-terminal
        // answers in well under them.
        ::setenv("PENDRA_ANSWER_MS", "400", 1);
        ::setenv("PENDRA_MODEM_GUARD_MS", "250", 1);
        HM_set_power_saving_status(0);
        HM_SetRetryTimes(10);
        HM_set_upload_file_save_mode(ZELO_SAVE_OVERWRITE);
    }

    void TearDown() override {
        stopLine();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    TerminalConfig terminal(char address, Model model = Model::Gravo) {
        TerminalConfig config;
        config.address = address;
        config.model = model;
        config.ramFolder = ramFolder(address);
        config.flashFolder = folder_ / std::string(1, address) / "flash";
        config.emsFolder = folder_ / std::string(1, address) / "ems";
        return config;
    }

    // Starts serving `configs` and opens the link at 57600 baud, 8N1.
    void startLine(const std::vector<TerminalConfig>& configs, LineOptions options = {},
                   std::optional<ModemConfig> modem = std::nullopt, bool open = true) {
        std::vector<SimulatedTerminal> terminals;
        for (const auto& config : configs) {
            std::string error;
            auto made = SimulatedTerminal::create(config, error);
            ASSERT_TRUE(made) << error;
            ASSERT_TRUE(made->prepareFolders(error)) << error;
            terminals.push_back(std::move(*made));
        }
        line_ = std::make_unique<SimulatedLine>(std::move(terminals), std::move(modem));
        std::string error;
        pty_ = PseudoTerminal::create(error);
        ASSERT_TRUE(pty_) << error;
        ::setenv(("PENDRA_PORT" + std::to_string(kPort)).c_str(), pty_->slavePath().c_str(), 1);
        options.modemGuard = std::chrono::milliseconds(200);
        server_ = std::make_unique<LineServer>(*line_, pty_->takeMaster(), options);
        server_->start();
        if (open) {
            ASSERT_EQ(HM_OpenCommPort(kPort, kBaudIndex57600, 8, 0, 1), 1);
        }
    }

    // Closes the link and ends serving, so a test can start another line.
    void stopLine() {
        HM_CloseCommPort(kPort);
        if (server_) server_->stop();
        server_.reset();
        pty_.reset();
        line_.reset();
    }

    std::filesystem::path ramFolder(char address) const {
        return folder_ / std::string(1, address) / "ram";
    }
    std::filesystem::path hostFile(const std::string& name) const {
        return folder_ / "host" / name;
    }

    // One field of the terminal at position `index` in the state dump, as
    // its JSON text.
    std::string stateOf(const std::string& field, std::size_t index = 0) const {
        const std::string json = line_->stateJson();
        std::size_t at = 0;
        for (std::size_t i = 0; i <= index; ++i) {
            at = json.find("\"address\"", at + 1);
            if (at == std::string::npos) return "<no terminal>";
        }
        at = json.find("\"" + field + "\": ", at);
        if (at == std::string::npos) return "<no field>";
        at += field.size() + 4;
        if (json[at] == '[') return json.substr(at, json.find(']', at) + 1 - at);
        return json.substr(at, json.find_first_of(",\n", at) - at);
    }

    static std::string readFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void writeFile(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string randomBytes(std::size_t size, uint32_t seed) {
        std::mt19937 random(seed);
        std::string bytes(size, '\0');
        for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
        return bytes;
    }
    // Lines of a price file, no two alike: deflate packs them several times
    // over, with references reaching back into earlier frames.
    static std::string priceLines(std::size_t size) {
        std::string text;
        for (int item = 0; text.size() < size; ++item) {
            text += "49" + std::to_string(10000000 + item * 7) + ",ITEM NAME " +
                    std::to_string(item % 37) + "," + std::to_string(100 + item % 900) + "\r\n";
        }
        text.resize(size);
        return text;
    }
    static std::string textBytes(std::size_t size) {
        static const std::string line = "0012345678,ITEM-42,QTY=7,2026-12-08 16:45:00\r\n";
        std::string bytes;
        while (bytes.size() < size) bytes += line;
        bytes.resize(size);
        return bytes;
    }

    std::filesystem::path folder_;
    std::unique_ptr<SimulatedLine> line_;
    std::unique_ptr<PseudoTerminal> pty_;
    std::unique_ptr<LineServer> server_;
};

}  // namespace termsim::end_to_end
