// A terminal that answers every command the single-terminal operations use,
// and the fixture of a line where it is A among three.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fake_line_test.hpp"
#include "fake_pendra.hpp"

namespace zelo::link::testing {

using fake_pendra::Call;
using fake_pendra::Fn;
using fake_pendra::Reply;

// A terminal that answers every command the single-terminal operations use.
inline std::optional<Reply> AnsweringTerminal(const Call& c) {
    const std::string& r = c.request;
    switch (c.fn) {
        case Fn::FindFirst: return Reply{1, "PROG.EXE", -1, 1};
        case Fn::DBG:
            if (r == "v") return Reply{1, "..V1.23"};
            if (r == "G") return Reply{1, "..012003004"};
            if (r == "G/ROM") return Reply{1, "..05120128"};
            if (r == "D/ROM") return Reply{1, "..MENU.EXE"};
            if (r.rfind("F", 0) == 0 && r.size() == 4) return Reply{1, "..0"};
            if (r == "Q") return Reply{1, "..0"};
            if (r.rfind("f", 0) == 0) return Reply{1, "..0"};
            return Reply{1, ""};
        case Fn::ESC_R: return Reply{1, "ZX58-1"};
        case Fn::ESC_I: return Reply{1, "MENU"};
        case Fn::ESC_J: return Reply{6, "2048"};
        case Fn::ESC_A:
        case Fn::ESC_H:
        case Fn::ESC_N:
        case Fn::ESC_O: return Reply{4, ""};
        case Fn::ESC_X:
        case Fn::ESC_5:
        case Fn::ESC_K: return Reply{6, ""};
        case Fn::ESC_0: return Reply{1, ""};
        default: return std::nullopt;
    }
}

// A line of three terminals A, B and C with B not selected; the fake link
// lets A answer and C stay silent (every request of C times out) unless a
// test scripts otherwise.
class AnsweringTerminalTest : public FakeLineTest {
protected:
    void SetUp() override {
        comm.port = 3;
        FakeLineTest::SetUp();
        if (HasFatalFailure()) return;
        progress.addressSelected[1] = 0;
        for (auto& s : progress.addressStatus) s = 0;
        answering = {'A'};
        status.connected = 1;
        fake_pendra::reset();  // the record starts with the operation
        SetResponder();
    }

    // Answering terminals list one file; the rest stay silent.
    void SetResponder() {
        fake_pendra::setResponder([this](const Call& c) -> std::optional<Reply> {
            if (c.fn == Fn::FindNext && answering.count(static_cast<char>(c.address)) != 0) {
                return Reply{1, "", -1, 0};
            }
            if (answering.count(static_cast<char>(c.address)) == 0) return std::nullopt;
            return AnsweringTerminal(c);
        });
    }

    // The terminal addresses that received a call of `fn`, in order.
    static std::string AddressesOf(Fn fn) {
        std::string out;
        for (const Call& c : fake_pendra::callsOf(fn)) out += static_cast<char>(c.address);
        return out;
    }
    std::vector<int> Statuses() const {
        return {progress.addressStatus[0], progress.addressStatus[1], progress.addressStatus[2]};
    }

    std::set<char> answering;
};

}  // namespace zelo::link::testing
