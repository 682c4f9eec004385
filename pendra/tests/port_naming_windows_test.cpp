// PENDRA_PORT<n> and the ports file name a COM port's device on Windows as
// they do on Linux: the link opens whatever they name for port n. Needs the
// echoing COM port of the Wine stage (ZELO_TEST_PORT).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <string>

#include "link.hpp"
#include "temporary_folder.hpp"

namespace pendra {
namespace {

class PortNaming : public ::testing::Test {
protected:
    void SetUp() override {
        const char* named = std::getenv("ZELO_TEST_PORT");
        if (named == nullptr || named[0] == 0) {
            GTEST_SKIP() << "ZELO_TEST_PORT names no echoing COM port";
        }
        device_ = named;
        portsFile_ = folder_.File("pendra-naming.ports");
        _putenv_s("PENDRA_PORTS_FILE", portsFile_.c_str());
    }
    void TearDown() override {
        _putenv_s("PENDRA_PORT7", "");
        _putenv_s("PENDRA_PORTS_FILE", "");
    }

    test_support::TemporaryFolder folder_{"pendra-naming"};
    std::string device_;
    std::string portsFile_;
};

TEST_F(PortNaming, AnEnvironmentVariableNamesThePortsDevice) {
    Link link;
    EXPECT_FALSE(link.setup(7, '7', '1', 'N'));  // COM7 itself is not there
    _putenv_s("PENDRA_PORT7", device_.c_str());
    EXPECT_TRUE(link.setup(7, '7', '1', 'N'));
}

TEST_F(PortNaming, ThePortsFileNamesThePortsDevice) {
    std::FILE* file = std::fopen(portsFile_.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fprintf(file, "# test ports\n212 = %s\n", device_.c_str());
    std::fclose(file);
    Link link;
    EXPECT_TRUE(link.setup(212, '7', '1', 'N'));
}

}  // namespace
}  // namespace pendra
