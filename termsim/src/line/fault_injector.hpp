// Seeded faults on the simulated line, so that retries, resumes and
// time-outs can be exercised and reproduced.
#pragma once

#include <chrono>
#include <cstdint>
#include <random>
#include <string>

namespace termsim {

// Fractions of the request frames (0 to 1) that meet each fault. At most
// one fault strikes a frame; they are drawn in the order listed.
struct FaultSettings {
    double drop = 0;     // the request is lost on its way: no action, no reply
    double nak = 0;      // the request arrives damaged: negative acknowledgement
    double silent = 0;   // the terminal acts but its reply is lost
    double corrupt = 0;  // the reply arrives with a damaged bit
    double late = 0;     // the reply comes after `lateBy`
    std::chrono::milliseconds lateBy{2000};
    uint32_t seed = 1;

    bool any() const { return drop + nak + silent + corrupt + late > 0; }
};

enum class Fault { None, Drop, Nak, Silent, Corrupt, Late };

class FaultInjector {
public:
    explicit FaultInjector(const FaultSettings& settings)
        : settings_(settings), random_(settings.seed) {}

    // The fault for the next request frame. Ack frames can only be dropped.
    Fault next(bool ackFrame);

    // Flips one bit after the frame's header, in the payload or its check,
    // so the receiver sees a damaged frame rather than silence.
    void damage(std::string& frameBytes);

    const FaultSettings& settings() const { return settings_; }

private:
    double draw();  // uniform in [0, 1), the same for a seed on every platform

    FaultSettings settings_;
    std::mt19937 random_;
};

}  // namespace termsim
