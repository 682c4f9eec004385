#include "headless/program_options.hpp"

#include <gtest/gtest.h>

namespace zelo::headless {
namespace {

using Arguments = std::vector<std::string>;

TEST(ProgramOptions, OwnOptionsComeOffAndTheCommandLinePassesOnWhole) {
    const ProgramOptions options =
        ParseProgramOptions({"-q", "--port", "/dev/ttyUSB0", "-C", "site", "--poll-data", "-", "A",
                             "L", "-x", "--port"});
    EXPECT_TRUE(options.error.empty()) << options.error;
    EXPECT_TRUE(options.quiet);
    EXPECT_EQ(options.port, "/dev/ttyUSB0");
    EXPECT_EQ(options.directory, "site");
    // Everything from the first part of the command line is the view's, even
    // a part that looks like an option (a terminal file "-x").
    EXPECT_EQ(options.rest, (Arguments{"--poll-data", "-", "A", "L", "-x", "--port"}));
}

TEST(ProgramOptions, EqualsFormsAndTheEndOfOptions) {
    const ProgramOptions options =
        ParseProgramOptions({"--port=/dev/pts/3", "--directory=/srv/z", "--", "--odd", "1"});
    EXPECT_EQ(options.port, "/dev/pts/3");
    EXPECT_EQ(options.directory, "/srv/z");
    EXPECT_EQ(options.rest, (Arguments{"--odd", "1"}));
}

TEST(ProgramOptions, MissingOrEmptyValuesAndContradictionsAreUsageErrors) {
    EXPECT_EQ(ParseProgramOptions({"--port"}).error, "option --port needs a value");
    EXPECT_EQ(ParseProgramOptions({"--port="}).error, "option --port needs a value");
    EXPECT_EQ(ParseProgramOptions({"-C"}).error, "option -C needs a value");
    EXPECT_FALSE(ParseProgramOptions({"-q", "-v", "A", "1"}).error.empty());
}

TEST(ProgramOptions, UnknownOptionsAndHelpAreLeftToTheCommandLineReader) {
    const ProgramOptions options = ParseProgramOptions({"--help", "--bogus", "A", "1"});
    EXPECT_TRUE(options.error.empty());
    EXPECT_EQ(options.rest, (Arguments{"--help", "--bogus", "A", "1"}));
}

TEST(ProgramOptions, VersionNamesProgramAndLibrary) {
    EXPECT_EQ(VersionText(19), std::string("zelo32 ") + ZELO_PROGRAM_VERSION + "\nlibzelodll 19\n");
}

}  // namespace
}  // namespace zelo::headless
