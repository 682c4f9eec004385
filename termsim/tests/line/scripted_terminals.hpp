// A stand-in for the terminal model: a few terminals with fixed answers,
// one of them serving an upload, enough to exercise every link call. The
// line server calls it on its own thread; tests read what it saw.
#pragma once

#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "terminal_line.hpp"

namespace termsim::testing {

class ScriptedTerminals : public TerminalLine {
public:
    // Addresses 'A' and 'B' answer; 'S' stays silent.
    std::optional<pendra::wire::Reply> handle(const pendra::wire::Request& request) override {
        using pendra::wire::Command;
        std::lock_guard<std::mutex> guard(mutex_);
        seen_.push_back(request);
        if (request.address != 'A' && request.address != 'B') return std::nullopt;
        switch (request.command) {
            case Command::Ack:
                if (packetOut_) {
                    uploadOffset_ += packetOut_->size();
                    packetOut_.reset();
                }
                ++acks_;
                return std::nullopt;
            case Command::UploadRequest:
                uploadOffset_ = offsetIn(request.payload);
                packetOut_.reset();
                uploadOpen_ = true;
                return answer(4);
            case Command::NextPacket:
                if (!packetOut_) {
                    if (uploadOffset_ >= upload_.size()) return answer(3);
                    packetOut_ = upload_.substr(uploadOffset_, packetSize_);
                }
                return answer(1, *packetOut_);
            case Command::Text:
                if (!request.payload.empty() && request.payload[0] == 'Y') {
                    downloaded_ += request.payload.substr(1);
                    return answer(4);
                }
                return answer(1, "echo:" + request.payload);
            case Command::Poll: return answer(1, "RECORD-1");
            case Command::TerminalId: return answer(1, "SIM ID 1.0");
            case Command::RunningProgram: return answer(9);
            case Command::FileExists:
                if (request.payload == "DATA.TXT") return answer(6, "2048");
                return answer(7);
            case Command::DirFirst:
            case Command::DirNext:
                if (request.command == Command::DirFirst) return answer(1, "ONE.TXT", true);
                return answer(1, "TWO.TXT");
            case Command::SetAddress: return answer(request.argument == 'Z' ? 7 : 6);
            case Command::Keypad:
            case Command::Buzzer:
            case Command::WarmStart:
            case Command::ColdStart:
            case Command::Data:
            case Command::AutoBoot: return answer(4);
            case Command::Delete:
            case Command::Execute: return answer(6);
            case Command::StreamPackets:
            case Command::PollBatch:
            case Command::StreamData:
            case Command::CheckedEnd:
            case Command::PackedData:
            case Command::StreamPacked:
            case Command::JoinGroup:
            case Command::GroupData:
            case Command::GroupPacked:
            case Command::Lacking: break;  // the line side's
        }
        return std::nullopt;
    }

    bool hasModem() const override { return modem_; }

    ModemAnswer modemCommand(const std::string& line) override {
        std::lock_guard<std::mutex> guard(mutex_);
        modemLines_.push_back(line);
        ModemAnswer answer;
        if (line.rfind("ATD", 0) == 0) {
            answer.lines = {"CONNECT 9600"};
            answer.connected = true;
        } else if (line == "ATH") {
            answer.lines = {"OK"};
            answer.hungUp = true;
        } else if (line.rfind("AT", 0) == 0) {
            answer.lines = {line, "OK"};  // echo, then the result
        } else {
            answer.lines = {"ERROR"};
        }
        return answer;
    }

    bool servesAddress(char address) const override { return address == 'A' || address == 'B'; }

    std::optional<std::string> uploadPacketAhead(char address, std::size_t ahead) override {
        std::lock_guard<std::mutex> guard(mutex_);
        if (address != 'A' || !uploadOpen_) return std::nullopt;
        const std::size_t offset = uploadOffset_ + ahead * packetSize_;
        if (offset >= upload_.size()) return std::string();
        return upload_.substr(offset, packetSize_);
    }

    // Where the terminal stands in the upload: what the host acknowledged.
    std::size_t uploadOffset() const {
        std::lock_guard<std::mutex> guard(mutex_);
        return uploadOffset_;
    }

    void setUpload(std::string data, std::size_t packetSize = 255) {
        std::lock_guard<std::mutex> guard(mutex_);
        upload_ = std::move(data);
        packetSize_ = packetSize;
    }
    void setModem(bool on) { modem_ = on; }  // before the server starts

    std::vector<pendra::wire::Request> seen() const {
        std::lock_guard<std::mutex> guard(mutex_);
        return seen_;
    }
    std::string downloaded() const {
        std::lock_guard<std::mutex> guard(mutex_);
        return downloaded_;
    }
    std::vector<std::string> modemLines() const {
        std::lock_guard<std::mutex> guard(mutex_);
        return modemLines_;
    }

private:
    // "NAME[offset]" resumes at offset; a plain name starts at 0.
    static std::size_t offsetIn(const std::string& request) {
        const auto open = request.find('[');
        if (open == std::string::npos) return 0;
        return static_cast<std::size_t>(std::strtoul(request.c_str() + open + 1, nullptr, 10));
    }

    static pendra::wire::Reply answer(uint8_t status, std::string payload = {}, bool more = false) {
        return pendra::wire::Reply{status, std::move(payload), more};
    }

    mutable std::mutex mutex_;
    std::vector<pendra::wire::Request> seen_;
    std::vector<std::string> modemLines_;
    std::string upload_;
    std::size_t packetSize_ = 255;
    std::size_t uploadOffset_ = 0;
    std::optional<std::string> packetOut_;
    std::string downloaded_;
    int acks_ = 0;
    bool uploadOpen_ = false;
    bool modem_ = false;
};

}  // namespace termsim::testing
