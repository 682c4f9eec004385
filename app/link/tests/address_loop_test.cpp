#include "link/address_loop.hpp"

#include <gtest/gtest.h>
#include <zelodll.h>

#include <map>
#include <string>
#include <vector>

namespace zelo::link {
namespace {

using Strings = std::vector<std::string>;

// Records each result line as its address and code.
class LineRecorder final : public CTerminalLink {
public:
    void ShowResult(char address, std::string_view label, std::string_view detail,
                    int code) override {
        (void)label;
        (void)detail;
        lines.push_back(std::string(1, address) + std::to_string(code));
    }
    Strings lines;
};

AddressLoopOptions WithRule(StatusRule rule) {
    AddressLoopOptions options;
    options.rule = rule;
    return options;
}

class AddressLoopTest : public ::testing::Test {
protected:
    AddressLoopTest() { comm.addresses = "ABCD"; }

    // Runs the loop with each address answering its code from `codes`.
    bool Run(const std::map<char, int>& codes, AddressLoopOptions options = {}) {
        return RunAddressLoop(link, {comm, status, progress}, options, [&](char address, int) {
            visited += address;
            if (onCall) onCall(address);
            return AddressResult{codes.at(address), "Label", ""};
        });
    }

    LineRecorder link;
    CommSettings comm;
    LinkStatus status;
    ProgressState progress;
    std::string visited;
    std::function<void(char)> onCall;
};

TEST_F(AddressLoopTest, VisitsSelectedAddressesAndTurnsLibraryResultsIntoStatus) {
    progress.addressSelected[2] = 0;
    EXPECT_TRUE(Run({{'A', ZELO_OK}, {'B', ZELO_TIMEOUT}, {'C', ZELO_OK}, {'D', ZELO_NAK}}));
    EXPECT_EQ(visited, "ABD");
    EXPECT_EQ(link.lines, (Strings{"A0", "B4", "D3"}));
    EXPECT_EQ(progress.addressStatus[0], kStatusDone);
    EXPECT_EQ(progress.addressStatus[1], kStatusTimeOut);
    EXPECT_EQ(progress.addressStatus[2], kStatusNotDone);
    EXPECT_EQ(progress.addressStatus[3], kStatusFailed);
    EXPECT_EQ(status.idle.load(), 1);
}

TEST_F(AddressLoopTest, NothingToReportIsQuietForQueriesButALineForCommands) {
    const std::map<char, int> noData{
        {'A', ZELO_NO_DATA}, {'B', ZELO_NO_DATA}, {'C', ZELO_NO_DATA}, {'D', ZELO_NO_DATA}};
    EXPECT_TRUE(Run(noData, WithRule(StatusRule::kQuery)));
    EXPECT_TRUE(link.lines.empty());
    EXPECT_EQ(progress.addressStatus[0], kStatusWorking);  // left as it was
    EXPECT_TRUE(Run(noData, WithRule(StatusRule::kCommand)));
    EXPECT_EQ(link.lines.size(), 4u);
}

TEST_F(AddressLoopTest, AStopDuringOneAddressEndsTheLoopBeforeItsLine) {
    onCall = [this](char address) {
        if (address != 'B') return;
        // The Stop command, as the user interface thread gives it.
        link.RequestStop();
        status.idle = 1;
    };
    EXPECT_FALSE(Run({{'A', ZELO_OK}, {'B', ZELO_OK}, {'C', ZELO_OK}, {'D', ZELO_OK}}));
    EXPECT_EQ(visited, "AB");
    EXPECT_EQ(link.lines, Strings{"A0"});
    EXPECT_EQ(progress.addressStatus[1], kStatusWorking);
}

TEST_F(AddressLoopTest, OnlyTheNamedAddressAndNothingPastAZero) {
    comm.addresses = std::string("AB\0D", 4);
    AddressLoopOptions options;
    options.onlyAddress = 'B';
    EXPECT_TRUE(Run({{'A', ZELO_OK}, {'B', ZELO_OK}, {'D', ZELO_OK}}, options));
    EXPECT_EQ(visited, "B");
    options.onlyAddress = 0;
    visited.clear();
    EXPECT_TRUE(Run({{'A', ZELO_OK}, {'B', ZELO_OK}, {'D', ZELO_OK}}, options));
    EXPECT_EQ(visited, "AB");
}

}  // namespace
}  // namespace zelo::link
