#include "fault_injector.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "frame.hpp"

namespace termsim {
namespace {

std::vector<Fault> drawMany(const FaultSettings& settings, bool ack = false) {
    FaultInjector injector(settings);
    std::vector<Fault> faults;
    for (int i = 0; i < 2000; ++i) faults.push_back(injector.next(ack));
    return faults;
}

TEST(FaultInjector, SameSeedSameFaultsAndFractionsRoughlyKept) {
    FaultSettings settings;
    settings.drop = 0.1;
    settings.corrupt = 0.2;
    settings.seed = 42;
    const auto faults = drawMany(settings);
    EXPECT_EQ(faults, drawMany(settings));
    settings.seed = 43;
    EXPECT_NE(faults, drawMany(settings));

    const auto drops = static_cast<double>(std::count(faults.begin(), faults.end(), Fault::Drop));
    const auto corrupts =
        static_cast<double>(std::count(faults.begin(), faults.end(), Fault::Corrupt));
    EXPECT_NEAR(drops, 200, 60);
    EXPECT_NEAR(corrupts, 400, 80);
}

TEST(FaultInjector, AckFramesAreOnlyEverDropped) {
    FaultSettings settings;
    settings.nak = 0.5;
    settings.silent = 0.5;
    for (Fault fault : drawMany(settings, true)) EXPECT_EQ(fault, Fault::None);
}

TEST(FaultInjector, DamageLeavesTheHeaderSoTheFrameIsReportedDamaged) {
    FaultSettings settings;
    FaultInjector injector(settings);
    pendra::wire::Frame frame{pendra::wire::Direction::Reply, 'A', 'R', 1, 3, "payload"};
    const std::string clean = pendra::wire::encodeFrame(frame);
    for (int i = 0; i < 50; ++i) {
        std::string bytes = clean;
        injector.damage(bytes);
        EXPECT_EQ(bytes.substr(0, pendra::wire::kReplyHeaderSize),
                  clean.substr(0, pendra::wire::kReplyHeaderSize));
        pendra::wire::FrameDecoder decoder;
        decoder.feed(bytes);
        const auto event = decoder.next();
        ASSERT_TRUE(event);
        EXPECT_EQ(event->kind, pendra::wire::FrameDecoder::Kind::Damaged);
    }
}

}  // namespace
}  // namespace termsim
