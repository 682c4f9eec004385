#include "state_dump.hpp"

#include <cstdio>
#include <fstream>
#include <system_error>

namespace termsim {

namespace {

// Bytes are written as Latin-1 code points, so any text the host sent gives
// valid JSON.
std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string jsonList(const std::vector<std::string>& texts) {
    std::string out = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) out += (i ? ", " : "") + jsonString(texts[i]);
    return out + "]";
}

const char* yesNo(bool flag) { return flag ? "true" : "false"; }

void appendTerminal(std::string& out, const SimulatedTerminal& terminal) {
    const TerminalSettings& s = terminal.settings();
    const auto field = [&out](std::string_view name, const std::string& value) {
        out += "      " + jsonString(name) + ": " + value + ",\n";
    };
    out += "    {\n";
    field("address", jsonString(std::string(1, terminal.address())));
    field("model", std::to_string(static_cast<int>(terminal.profile().model)));
    field("modelName", jsonString(terminal.profile().name));
    field("powerSaving", yesNo(s.powerSaving));
    field("uploadMode", yesNo(s.uploadMode));
    field("kermitMode", yesNo(s.kermitMode));
    field("upsOff", yesNo(s.upsOff));
    field("warmStarts", std::to_string(s.warmStarts));
    field("coldStarts", std::to_string(s.coldStarts));
    field("clock", jsonString(s.clock));
    // A simulator for tests: the password is shown so tests can check it.
    field("passwordSet", yesNo(s.password.has_value()));
    field("passwordInClearTestOnly", jsonString(s.password.value_or("")));
    field("terminalTable", jsonString(s.terminalTable));
    field("commTable", jsonString(s.commTable));
    field("deviceTable", jsonString(s.deviceTable));
    field("barcodeTable", jsonString(s.barcodeTable));
    field("keypad", jsonString(s.keypad));
    field("systemFont", jsonString(s.systemFont));
    field("buzzerVolume", jsonString(s.buzzerVolume));
    field("autoBootProgram", jsonString(s.autoBootProgram));
    field("autoBootFromFlash", yesNo(s.autoBootFromFlash));
    field("runningProgram", jsonString(s.runningProgram));
    field("programAreaKb", std::to_string(s.programAreaKb));
    field("dataReceived", jsonList(s.dataReceived));
    field("sendBackReceived", jsonList(s.sendBackReceived));
    field("filesReceived", jsonList(s.filesReceived));
    field("filesSent", jsonList(s.filesSent));
    field("filesDeleted", jsonList(s.filesDeleted));
    field("programsStarted", jsonList(s.programsStarted));
    field("pollRecordsPending", std::to_string(terminal.records().pending()));
    field("pollRecordsDelivered", std::to_string(terminal.records().delivered()));
    out += "      \"illegalRequests\": " + std::to_string(s.illegalRequests) + "\n    }";
}

}  // namespace

std::string stateJson(const std::vector<SimulatedTerminal>& terminals, const HayesModem* modem) {
    std::string out = "{\n  \"terminals\": [\n";
    for (std::size_t i = 0; i < terminals.size(); ++i) {
        if (i) out += ",\n";
        appendTerminal(out, terminals[i]);
    }
    out += "\n  ],\n  \"modem\": ";
    if (modem == nullptr) {
        out += "null";
    } else {
        out += "{\"connected\": " + std::string(yesNo(modem->connected())) +
               ", \"dials\": " + std::to_string(modem->dials()) +
               ", \"lastNumber\": " + jsonString(modem->lastNumber()) +
               ", \"echo\": " + yesNo(modem->echo()) + "}";
    }
    return out + "\n}\n";
}

bool StateDumpFile::update(const std::string& json, bool evenIfUnchanged) {
    if (!evenIfUnchanged && json == lastWritten_) return true;
    std::filesystem::path temporary = file_;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(json.data(), static_cast<std::streamsize>(json.size())).flush()) {
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, file_, error);
    if (error) return false;
    lastWritten_ = json;
    return true;
}

}  // namespace termsim
