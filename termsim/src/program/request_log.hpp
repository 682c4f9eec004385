// zelo-termsim --log FILE: every request the host sends and every reply the
// terminals give, one line each in words, for watching what a program does.
#pragma once

#include <fstream>
#include <functional>
#include <mutex>
#include <string>

#include "terminal_line.hpp"

namespace termsim {

// "A  set clock \"M20261208221503\"", "A  download packet (120 bytes)".
std::string describeRequest(const pendra::wire::Request& request);
// "4 done", "1 reply \"ZT290 Brisa\"", "no answer".
std::string describeReply(const std::optional<pendra::wire::Reply>& reply);

// Passes everything to the terminals it wraps and writes each exchange to
// the log. Called from the line server's one thread. Every call of
// TerminalLine must be passed on here: one left to its default makes the
// line side serve the terminals as if they could not do it (streamed
// transfers then break only when the log is on).
class LoggedLine : public TerminalLine {
public:
    // `timeOfDay` gives the time stamp; the program passes the local clock.
    LoggedLine(TerminalLine& inner, std::ostream& log, std::function<std::string()> timeOfDay);

    std::optional<pendra::wire::Reply> handle(const pendra::wire::Request& request) override;
    bool hasModem() const override { return inner_.hasModem(); }
    ModemAnswer modemCommand(const std::string& line) override;
    bool servesAddress(char address) const override { return inner_.servesAddress(address); }
    std::vector<std::string> pollRecordsAhead(char address, std::size_t most) override {
        return inner_.pollRecordsAhead(address, most);
    }
    std::optional<std::string> uploadPacketAhead(char address, std::size_t ahead) override {
        return inner_.uploadPacketAhead(address, ahead);
    }
    std::optional<UploadProgress> uploadProgress(char address) override {
        return inner_.uploadProgress(address);
    }
    std::optional<UploadHistory> uploadHistory(char address, std::size_t ahead,
                                               std::size_t most) override {
        return inner_.uploadHistory(address, ahead, most);
    }
    std::optional<std::uint64_t> downloadLength(char address) override {
        return inner_.downloadLength(address);
    }
    std::optional<std::string> downloadedBytes(char address) override {
        return inner_.downloadedBytes(address);
    }
    std::optional<uint32_t> pollFrontNumber(char address) override {
        return inner_.pollFrontNumber(address);
    }
    void dropPollRecordsThrough(char address, uint32_t number) override {
        inner_.dropPollRecordsThrough(address, number);
    }

private:
    void write(const std::string& text);

    TerminalLine& inner_;
    std::ostream& log_;
    std::function<std::string()> timeOfDay_;
    std::mutex mutex_;
};

// "22:15:03.120", local time.
std::string localTimeOfDay();

}  // namespace termsim
