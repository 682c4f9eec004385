// The command library on top of the real link layer and the line server.
#include "line_fixture.hpp"
#include "zelodll.h"

namespace termsim::testing {
namespace {

class LibraryOverLine : public LineFixture {};

TEST_F(LibraryOverLine, OpensSwitchesPowerSavingAndReopensAfterClosing) {
    startLine();
    // Baud index 9 is 57600, parity 0 none, stop bits 1.
    ASSERT_EQ(HM_OpenCommPort(kPort, 9, 8, 0, 1), 1);
    EXPECT_EQ(HM_power_saving_off(kPort, 'A'), 0);
    EXPECT_EQ(HM_power_saving_off(kPort, 'S'), 4);  // nobody there: time-out
    HM_CloseCommPort(kPort);

    // Closing released the port: it opens again.
    ASSERT_EQ(HM_OpenCommPort(kPort, 9, 8, 0, 1), 1);
    EXPECT_EQ(HM_power_saving_on(kPort, 'A'), 0);
    HM_CloseCommPort(kPort);
    const auto seen = terminals_.seen();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front().payload, "7");
    EXPECT_EQ(seen.back().payload, "8");
}

}  // namespace
}  // namespace termsim::testing
