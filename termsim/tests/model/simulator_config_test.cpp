// The configuration file and the --terminal option: what they set, and that
// every mistake is reported with where it is.
#include "simulator_config.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace termsim {
namespace {

namespace fs = std::filesystem;

SimulatorConfig read(const std::string& text) {
    SimulatorConfig config;
    readConfigText(text, "/base", "sim.ini", config);
    return config;
}

std::string errorOf(const std::string& text) {
    try {
        read(text);
    } catch (const ConfigError& error) {
        return error.what();
    }
    return "<no error>";
}

TEST(SimulatorConfigTest, AFullFile) {
    const SimulatorConfig config = read(R"(# a line of two terminals
state_dump = state.json
[line]
device = /dev/ttyUSB0
baud = 57600
seed = 42
corrupt = 0.01
drop = 0.5
nak = 0
late = 1
silent = 0.25
[modem]
dial = BUSY, CONNECT
speed = 14400
echo = yes
[terminal A]
model = Brisa
ram = simA/ram
flash = /abs/flash
records = polls.txt
record_end = none
id = "ZT99 custom"
version = ""
ram_kb = 2048
program_area_kb = 128
[terminal 3]
model = 4
ems = ems3
generate_records = 10
silent = yes
autoboot = MENU.EXE
)");
    EXPECT_EQ(config.stateDump, fs::path("/base/state.json"));
    EXPECT_EQ(config.line.device, "/dev/ttyUSB0");
    EXPECT_EQ(config.line.baud, 57600u);
    EXPECT_EQ(config.line.seed, 42u);
    EXPECT_DOUBLE_EQ(config.line.corrupt, 0.01);
    EXPECT_DOUBLE_EQ(config.line.late, 1.0);
    EXPECT_DOUBLE_EQ(config.line.silent, 0.25);
    ASSERT_TRUE(config.modem);
    EXPECT_EQ(config.modem->dialResults, (std::vector<std::string>{"BUSY", "CONNECT"}));
    EXPECT_EQ(config.modem->connectSpeed, 14400u);
    EXPECT_TRUE(config.modem->echo);

    ASSERT_EQ(config.terminals.size(), 2u);
    const TerminalConfig& a = config.terminals[0];
    EXPECT_EQ(a.address, 'A');
    EXPECT_EQ(a.model, Model::Brisa);
    EXPECT_EQ(a.ramFolder, fs::path("/base/simA/ram"));
    EXPECT_EQ(a.flashFolder, fs::path("/abs/flash"));
    EXPECT_EQ(a.recordsFile, fs::path("/base/polls.txt"));
    EXPECT_EQ(a.recordEnd, RecordEnd::None);
    EXPECT_EQ(a.idText, "ZT99 custom");
    EXPECT_EQ(a.versionText, "");
    EXPECT_EQ(a.ramKb, 2048u);
    EXPECT_EQ(a.programAreaKb, 128u);
    const TerminalConfig& t3 = config.terminals[1];
    EXPECT_EQ(t3.address, '3');
    EXPECT_EQ(t3.model, Model::Delmar);
    EXPECT_EQ(t3.generatedRecords, 10);
    EXPECT_TRUE(t3.silent);
    EXPECT_EQ(t3.autoBootProgram, "MENU.EXE");
}

TEST(SimulatorConfigTest, MistakesNameTheirLine) {
    EXPECT_EQ(errorOf("[terminal A]\nmodel = Zebra\n"),
              "sim.ini:2: model must be 0 to 6 or a model name, not \"Zebra\"");
    EXPECT_EQ(errorOf("\n\n[terminal Z]\n"),
              "sim.ini:3: a terminal address is one of A to Y or 0 to 6, not \"Z\"");
    EXPECT_EQ(errorOf("[terminal A]\n[terminal A]\n"), "sim.ini:2: terminal A is configured twice");
    EXPECT_EQ(errorOf("[line]\nbaud = 9601\n"),
              "sim.ini:2: baud must be one of 110 300 600 1200 2400 4800 9600 19200 38400 57600");
    EXPECT_EQ(errorOf("[line]\ncorrupt = 1.5\n"),
              "sim.ini:2: corrupt must be a fraction from 0 to 1, not \"1.5\"");
    EXPECT_EQ(errorOf("[modem]\ndial = RING\n"),
              "sim.ini:2: dial results are CONNECT, BUSY, NO CARRIER, NO DIALTONE, NO ANSWER or "
              "ERROR, not \"RING\"");
    EXPECT_EQ(errorOf("[terminal A]\nram_kb = -1\n"),
              "sim.ini:2: ram_kb must be a whole number from 0 to 99999, not \"-1\"");
    EXPECT_EQ(errorOf("[terminal A]\nautoboot = ../X.EXE\n"),
              "sim.ini:2: autoboot must be a plain file name, not \"../X.EXE\"");
    EXPECT_EQ(errorOf("[terminal A]\ncolour = red\n"),
              "sim.ini:2: unknown terminal key \"colour\"");
    EXPECT_EQ(errorOf("baud = 9600\n"), "sim.ini:1: unknown key \"baud\"");
    EXPECT_EQ(errorOf(std::string(5000, '#')), "sim.ini:1: line longer than 4096 characters");
}

TEST(SimulatorConfigTest, TerminalOptionsAddAndOverride) {
    SimulatorConfig config = read("[terminal A]\nmodel = Fenna\nram_kb = 512\n");
    applyTerminalOption("A:model=6,flash=f", "/cli", config);
    applyTerminalOption("B", "/cli", config);
    ASSERT_EQ(config.terminals.size(), 2u);
    EXPECT_EQ(config.terminals[0].model, Model::Brisa);
    EXPECT_EQ(config.terminals[0].ramKb, 512u);
    EXPECT_EQ(config.terminals[0].flashFolder, fs::path("/cli/f"));

    completeConfig(config, "/work");
    EXPECT_EQ(config.terminals[1].ramFolder, fs::path("/work/termsim-B/ram"));
    EXPECT_EQ(config.terminals[1].emsFolder, fs::path("/work/termsim-B/ems"));
}

TEST(SimulatorConfigTest, TerminalOptionMistakes) {
    SimulatorConfig config;
    for (const char* definition : {"", "AB:model=1", "a:model=1", "A:model", "A:model=9",
                                   "A:ram=", "A:record_length=2", "A:record_length=256"}) {
        EXPECT_THROW(applyTerminalOption(definition, "/cli", config), ConfigError) << definition;
    }
    try {
        applyTerminalOption("A:speed=1", "/cli", config);
        FAIL();
    } catch (const ConfigError& error) {
        EXPECT_STREQ(error.what(), "--terminal A:speed=1: unknown terminal key \"speed\"");
    }
}

TEST(SimulatorConfigTest, CommentsAfterValuesAndHeadersAreDropped) {
    const SimulatorConfig config = read(R"([line]
baud = 19200      # faster than the default
seed = 3 ; also a comment
[modem]           # the section alone puts a modem on the line
[terminal A]
id = "ZT290 #1"   # inside quotes a hash is text
version = v1#2
)");
    EXPECT_EQ(config.line.baud, 19200u);
    EXPECT_EQ(config.line.seed, 3u);
    EXPECT_TRUE(config.modem.has_value());
    ASSERT_EQ(config.terminals.size(), 1u);
    EXPECT_EQ(config.terminals[0].idText, "ZT290 #1");
    EXPECT_EQ(config.terminals[0].versionText, "v1#2")
        << "a hash without a blank before it is text";
}

TEST(SimulatorConfigTest, LogFileFromTheLineSection) {
    EXPECT_EQ(read("[line]\nlog = requests.log\n").line.logPath, "requests.log");
    EXPECT_EQ(errorOf("[line]\nlog =\n"), "sim.ini:2: log needs a file name");
}

// The sample in the simulator's guide is read as printed.
TEST(SimulatorConfigTest, TheGuidesSampleReadsAsPrinted) {
    std::ifstream guide(ZELO_SOURCE_DIR "/docs/simulator.md");
    ASSERT_TRUE(guide) << "docs/simulator.md";
    std::string line, sample;
    bool inSection = false, inBlock = false;
    while (std::getline(guide, line)) {
        if (line.rfind("## ", 0) == 0) inSection = line == "## Configuration file";
        if (!inSection) continue;
        if (line.rfind("    ", 0) == 0) {
            inBlock = true;
            sample += line.substr(4) + "\n";
        } else if (inBlock && !line.empty()) {
            break;  // the first indented block only
        } else if (inBlock) {
            sample += "\n";
        }
    }
    ASSERT_FALSE(sample.empty());
    SimulatorConfig config;
    ASSERT_NO_THROW(readConfigText(sample, "/base", "simulator.md", config)) << sample;
    EXPECT_EQ(config.line.baud, 9600u);
    EXPECT_EQ(config.line.corrupt, 0.01);
    ASSERT_TRUE(config.modem.has_value());
    ASSERT_EQ(config.terminals.size(), 2u);
    EXPECT_EQ(config.terminals[1].generatedRecords, 50);
}

TEST(SimulatorConfigTest, FixedSpeedAndRecordLength) {
    SimulatorConfig config;
    readConfigText("[line]\nbaud = 38400\nfixed_speed = yes\n[terminal A]\nrecord_length = 255\n",
                   "/cfg", "line.ini", config);
    EXPECT_TRUE(config.line.fixedSpeed);
    EXPECT_EQ(config.line.baud, 38400u);
    ASSERT_EQ(config.terminals.size(), 1u);
    EXPECT_EQ(config.terminals[0].recordLength, 255u);
}

}  // namespace
}  // namespace termsim
