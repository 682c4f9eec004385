// The program's options: spellings, order against the configuration file,
// and the mistakes it refuses.
#include "program/command_line.hpp"

#include <gtest/gtest.h>

#include "terminal_fixture.hpp"

namespace termsim {
namespace {

TEST(CommandLineTest, OptionsOverrideTheFileWhateverTheirOrder) {
    test::TemporaryFolder folder;
    const auto file = folder.Path() / "sim.ini";
    test::WriteAll(file, "[line]\nbaud = 2400\n[terminal A]\nmodel = Fenna\n");
    const CommandLine commandLine = parseCommandLine(
        {"--baud=19200", "-t", "A:model=Corvo", "--config", file.string(), "--seed", "7",
         "--corrupt", "0.01", "-m", "--modem-dial", "NO CARRIER,CONNECT", "-s", "out.json"});
    const SimulatorConfig& config = commandLine.config;
    EXPECT_EQ(commandLine.action, CommandLine::Action::Run);
    EXPECT_EQ(config.line.baud, 19200u);
    EXPECT_EQ(config.line.seed, 7u);
    EXPECT_DOUBLE_EQ(config.line.corrupt, 0.01);
    ASSERT_EQ(config.terminals.size(), 1u);
    EXPECT_EQ(config.terminals[0].model, Model::Corvo);
    // The file's folders are relative to the file, the defaults to here.
    EXPECT_EQ(config.terminals[0].ramFolder, std::filesystem::current_path() / "termsim-A" / "ram");
    ASSERT_TRUE(config.modem);
    EXPECT_EQ(config.modem->dialResults, (std::vector<std::string>{"NO CARRIER", "CONNECT"}));
    EXPECT_EQ(config.stateDump, "out.json");
}

TEST(CommandLineTest, DelayAndThinkTimeInEitherSpelling) {
    const SimulatorConfig config =
        parseCommandLine({"-t", "A", "--delay-ms", "40", "--think-ms=5", "--protocol", "1"}).config;
    EXPECT_EQ(config.line.delayMs, 40u);
    EXPECT_EQ(config.line.thinkMs, 5u);
    EXPECT_EQ(config.line.protocol, 1u);
}

TEST(CommandLineTest, HelpWinsOverEverythingButBrokenSyntax) {
    EXPECT_EQ(parseCommandLine({"-t", "A", "--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parseCommandLine({"--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parseCommandLine({"-t", "A", "--print-state"}).action,
              CommandLine::Action::PrintState);
}

TEST(CommandLineTest, MistakesAreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> mistakes{
        {},                                    // no terminal
        {"-t", "A", "stray"},                  // not an option
        {"-t", "A", "--bogus"},                // unknown option
        {"-t"},                                // missing value
        {"-t", "A", "--modem=yes"},            // flag with a value
        {"-t", "A", "--late", "2"},            // out of range
        {"-t", "A", "--delay-ms", "10001"},    // out of range
        {"-t", "A", "--think-ms", "-1"},       // negative
        {"-t", "A", "--protocol", "4"},        // no such version
        {"-t", "A", "--modem-speed", "fast"},  // not a number
        {"-t", "A", "--dump-state="},          // empty file name
        {"--config", "/nonexistent/sim.ini"},  // unreadable file
    };
    for (const auto& arguments : mistakes) {
        EXPECT_THROW(parseCommandLine(arguments), ConfigError)
            << (arguments.empty() ? "(none)" : arguments.back());
    }
}

}  // namespace
}  // namespace termsim
