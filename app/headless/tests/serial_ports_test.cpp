#include "headless/serial_ports.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "file_bytes.hpp"
#include "temporary_folder.hpp"

namespace zelo::headless {
namespace {

namespace fs = std::filesystem;

// A /dev and a /sys/class/tty of the test's own.
class SerialPortsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root_ / "dev/serial/by-id");
        fs::create_directories(root_ / "sys");
    }

    void AddDevice(const std::string& name, int type = -1) {
        test_support::WriteAll(root_ / "dev" / name, "");
        fs::create_directories(root_ / "sys" / name);
        if (type >= 0)
            test_support::WriteAll(root_ / "sys" / name / "type", std::to_string(type) + "\n");
    }
    std::vector<SerialDevice> Find() {
        return FindSerialDevices((root_ / "dev").string(), (root_ / "sys").string());
    }

    test_support::TemporaryFolder folder_{"zelo-ports"};
    const fs::path& root_ = folder_.Path();
};

TEST_F(SerialPortsTest, OnlySerialFamiliesWithHardwareAndTheirStableNames) {
    AddDevice("ttyS0", 4);  // a real UART
    AddDevice("ttyS1", 0);  // a node with nothing behind it
    AddDevice("ttyUSB0");
    AddDevice("tty1");     // a virtual console, not a serial line
    AddDevice("ttyUSBx");  // not a device number
    fs::create_symlink("../../ttyUSB0", root_ / "dev/serial/by-id/usb-FTDI_X-if00");

    const auto devices = Find();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].path, (root_ / "dev/ttyS0").string());
    EXPECT_EQ(devices[0].comPort, 1);
    EXPECT_EQ(devices[1].path, (root_ / "dev/ttyUSB0").string());
    EXPECT_EQ(devices[1].comPort, 0);
    ASSERT_EQ(devices[1].byId.size(), 1u);
    EXPECT_EQ(devices[1].byId[0], (root_ / "dev/serial/by-id/usb-FTDI_X-if00").string());

    const std::string listing = SerialDeviceListing(devices);
    EXPECT_NE(listing.find("ttyS0  (COM1 by default)\n"), std::string::npos) << listing;
    EXPECT_NE(listing.find("\n    " + devices[1].byId[0] + "\n"), std::string::npos) << listing;
}

TEST_F(SerialPortsTest, NothingFoundSaysWhereAnAdapterWouldAppear) {
    EXPECT_TRUE(Find().empty());
    EXPECT_NE(SerialDeviceListing({}).find("No serial devices found"), std::string::npos);
    EXPECT_TRUE(FindSerialDevices("/nonexistent/dev", "/nonexistent/sys").empty());
}

}  // namespace
}  // namespace zelo::headless
