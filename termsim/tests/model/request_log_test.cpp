// The --log wrapper passes every call on to the terminals it wraps: a call
// left to TerminalLine's default made streamed uploads and downloads fail
// only while the log was on.
#include "program/request_log.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace termsim {
namespace {

// Answers every call with something no default gives.
class AnsweringLine final : public TerminalLine {
public:
    std::optional<pendra::wire::Reply> handle(const pendra::wire::Request&) override {
        pendra::wire::Reply reply;
        reply.status = 4;
        return reply;
    }
    bool hasModem() const override { return true; }
    ModemAnswer modemCommand(const std::string&) override { return {{"OK"}, false, false}; }
    bool servesAddress(char address) const override { return address == 'B'; }
    std::optional<std::string> uploadPacketAhead(char, std::size_t ahead) override {
        return "packet " + std::to_string(ahead);
    }
    std::optional<UploadProgress> uploadProgress(char) override {
        return UploadProgress{"file", 3};
    }
    std::vector<std::string> pollRecordsAhead(char, std::size_t) override { return {"record"}; }
    std::optional<std::uint64_t> downloadLength(char) override { return 42; }
    std::optional<std::string> downloadedBytes(char) override { return "held"; }
};

TEST(RequestLog, PassesEveryCallOnAndLogsTheExchanges) {
    AnsweringLine inner;
    std::ostringstream log;
    LoggedLine logged(inner, log, [] { return std::string("12:00:00.000"); });
    TerminalLine& line = logged;

    pendra::wire::Request request;
    request.address = 'B';
    request.command = pendra::wire::Command::WarmStart;
    ASSERT_TRUE(line.handle(request).has_value());
    EXPECT_EQ(line.modemCommand("AT").lines, std::vector<std::string>{"OK"});
    EXPECT_EQ(log.str(),
              "12:00:00.000  B  warm start -> 4 done\n12:00:00.000  modem \"AT\" -> \"OK\"\n");

    EXPECT_TRUE(line.hasModem());
    EXPECT_TRUE(line.servesAddress('B'));
    EXPECT_FALSE(line.servesAddress('C'));
    EXPECT_EQ(line.uploadPacketAhead('B', 2), "packet 2");
    ASSERT_TRUE(line.uploadProgress('B').has_value());
    EXPECT_EQ(line.uploadProgress('B')->position, 3u);
    EXPECT_EQ(line.pollRecordsAhead('B', 5), std::vector<std::string>{"record"});
    EXPECT_EQ(line.downloadLength('B'), 42u);
    EXPECT_EQ(line.downloadedBytes('B'), "held");
}

}  // namespace
}  // namespace termsim
