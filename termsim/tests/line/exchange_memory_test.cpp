// The terminal side's memory of exchanges: retries answered from memory,
// lost acknowledgements recovered from the next request's flag.
#include "exchange_memory.hpp"

#include <gtest/gtest.h>

namespace termsim {
namespace {

using pendra::wire::Command;
using pendra::wire::Reply;
using pendra::wire::Request;

Request packetRequest() { return Request{Command::NextPacket, 'A', 0, "Y"}; }

TEST(ExchangeMemory, SameRequestUnderTheSameSerialIsAnsweredFromMemory) {
    ExchangeMemory memory;
    EXPECT_FALSE(memory.arrived(packetRequest(), 10, false).replay);
    memory.answered(packetRequest(), 10, Reply{1, "PACKET", false});

    const auto again = memory.arrived(packetRequest(), 10, false);
    ASSERT_TRUE(again.replay);
    EXPECT_EQ(again.replay->payload, "PACKET");

    // Another request under the same serial is new (a resume after a lost reply).
    Request resume{Command::Text, 'A', 0, "LNAME[120]"};
    EXPECT_FALSE(memory.arrived(resume, 10, false).replay);
    // Another address knows nothing of it.
    Request other = packetRequest();
    other.address = 'B';
    EXPECT_FALSE(memory.arrived(other, 10, false).replay);
}

TEST(ExchangeMemory, AcknowledgedReplyIsNeverSentAgain) {
    ExchangeMemory memory;
    memory.answered(packetRequest(), 3, Reply{1, "P", false});
    EXPECT_FALSE(memory.acknowledge('A', 2));  // not the last reply's serial
    EXPECT_TRUE(memory.acknowledge('A', 3));
    EXPECT_FALSE(memory.acknowledge('A', 3));  // a repeated Ack frame
    EXPECT_FALSE(memory.arrived(packetRequest(), 3, false).replay);
}

TEST(ExchangeMemory, FlagOnTheNextSerialStandsInForALostAck) {
    ExchangeMemory memory;
    memory.answered(packetRequest(), 127, Reply{1, "P", false});
    const auto next = memory.arrived(packetRequest(), 0, true);  // serials wrap at 128
    EXPECT_TRUE(next.ackFirst);
    EXPECT_FALSE(next.replay);
    EXPECT_FALSE(memory.acknowledge('A', 127));  // already counted

    // Without the flag, or skipping a serial, nothing is acknowledged.
    memory.answered(packetRequest(), 5, Reply{1, "Q", false});
    EXPECT_FALSE(memory.arrived(packetRequest(), 6, false).ackFirst);
    EXPECT_FALSE(memory.arrived(packetRequest(), 7, true).ackFirst);
}

TEST(ExchangeMemory, NegativeAcknowledgementsAreNotRemembered) {
    ExchangeMemory memory;
    memory.answered(packetRequest(), 4, Reply{5, "", false});
    EXPECT_FALSE(memory.arrived(packetRequest(), 4, false).replay);
}

}  // namespace
}  // namespace termsim
