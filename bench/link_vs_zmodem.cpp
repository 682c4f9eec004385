// Whole-file transfers through the command library's stepwise calls, side
// by side with ZMODEM (sz/rz of lrzsz) over the same paced, delayed line,
// and polling through HM_poll with several terminals on one line.
//
// Ours: HM_upload1/HM_upload2 and HM_download1/HM_download2 against the
// simulator's terminal model on its line server (a pseudo-terminal paced
// at the line's speed, --delay-ms as the one-way delay). ZMODEM: sz and rz
// on two pseudo-terminals joined by a relay with the same pacing and delay.
// Times run from the opening call (or the start of sz/rz) to the last
// packet; every file is compared with what was sent.
//
// Usage: link_vs_zmodem [--kib N] [--delays 0,10,40] [--poll-seconds S]
//                       [--faults F] [--transfers-only | --poll-only |
//                        --corpus 57600,9600 | --terminals 1,2,8,32]
// --corpus: a 200,000-byte price file against random binary, downloaded at
// each speed given (BENCH_PROTOCOL=2 for terminals without packing).
// --terminals: the same file (--kib, random binary) to N terminals on one
// line: sent to the group and then finished one by one as the program does,
// against today's loop (one terminal after another) and against N times
// ZMODEM's time for one point-to-point transfer; each against one terminal
// alone. Every copy is compared with the file: a copy that differs although
// its download reported success is counted as a silent corruption.
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_relay.hpp"
#include "line_server.hpp"
#include "pseudo_terminal.hpp"
#include "simulated_line.hpp"
#include "zelodll.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int32_t kPort = 43;
constexpr int32_t kBaud = 57600;
constexpr int32_t kBaudIndex57600 = 9;
constexpr int32_t kBaudIndex9600 = 6;

int32_t baudIndexOf(int32_t baud) { return baud == 9600 ? kBaudIndex9600 : kBaudIndex57600; }

// A price file as the terminals get it every day: item code (13 digits,
// rising), name, price, one item a line. Deterministic, so every run and
// both programs send the same bytes.
std::string priceFile(std::size_t size) {
    static const char* const brands[] = {"KIRIN", "ASAHI",   "MEIJI",  "NISSIN",    "KAO",
                                         "LION",  "SUNTORY", "KAGOME", "AJINOMOTO", "GLICO"};
    static const char* const goods[] = {"GREEN TEA", "COFFEE",     "MILK",         "NOODLES",
                                        "SHAMPOO",   "TOOTHPASTE", "WATER",        "TOMATO JUICE",
                                        "SOY SAUCE", "CHOCOLATE",  "RICE CRACKER", "CURRY"};
    static const char* const sizes[] = {"100G", "200G", "350ML", "500ML", "1L", "2L", "6P", "12P"};
    std::mt19937 random(23);
    std::string text;
    long long code = 4901000000000LL;
    while (text.size() < size) {
        code += 1 + static_cast<long long>(random() % 40);
        char line[96];
        std::snprintf(line, sizeof line, "%lld,%s %s %s,%u\r\n", code, brands[random() % 10],
                      goods[random() % 12], sizes[random() % 8],
                      static_cast<unsigned>(80 + random() % 1900));
        text += line;
    }
    text.resize(size);
    return text;
}

std::string sampleData(bool binary, std::size_t size) {
    std::mt19937 random(1);
    const char* words = "the quick brown fox jumps over the lazy dog 0123456789\r\n";
    std::string data;
    for (std::size_t i = 0; i < size; ++i) {
        data.push_back(binary ? static_cast<char>(random() & 0xFF) : words[i % std::strlen(words)]);
    }
    return data;
}

void writeFile(const fs::path& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A line of simulated terminals on a pseudo-terminal, reachable as kPort.
// The share of frames our line damages (--faults): split evenly among
// dropped, corrupted, negatively acknowledged and late frames.
double g_faults = 0;

struct SimulatedLineUp {
    std::unique_ptr<termsim::SimulatedLine> line;
    std::unique_ptr<termsim::PseudoTerminal> pty;
    std::unique_ptr<termsim::LineServer> server;
};

std::optional<SimulatedLineUp> lineOf(const fs::path& folder, const std::string& addresses,
                                      int records, int32_t baud, int delayMs) {
    // The terminals speak the newest version unless BENCH_PROTOCOL says
    // otherwise (the host follows PENDRA_PROTOCOL).
    const char* protocol = std::getenv("BENCH_PROTOCOL");
    const int version = protocol != nullptr ? std::atoi(protocol) : 3;
    std::vector<termsim::SimulatedTerminal> terminals;
    for (char address : addresses) {
        termsim::TerminalConfig config;
        config.address = address;
        config.ramFolder = folder / (std::string("ram-") + address);
        config.flashFolder = folder / (std::string("flash-") + address);
        config.generatedRecords = records;
        std::string error;
        auto terminal = termsim::SimulatedTerminal::create(config, error);
        if (!terminal || !terminal->prepareFolders(error)) {
            std::fprintf(stderr, "link_vs_zmodem: %s\n", error.c_str());
            return std::nullopt;
        }
        terminals.push_back(std::move(*terminal));
    }
    SimulatedLineUp up;
    up.line = std::make_unique<termsim::SimulatedLine>(std::move(terminals), std::nullopt);
    std::string error;
    up.pty = termsim::PseudoTerminal::create(error);
    if (!up.pty) {
        std::fprintf(stderr, "link_vs_zmodem: %s\n", error.c_str());
        return std::nullopt;
    }
    ::setenv(("PENDRA_PORT" + std::to_string(kPort)).c_str(), up.pty->slavePath().c_str(), 1);
    termsim::LineOptions options;
    options.baud = baud;
    options.oneWayDelay = std::chrono::milliseconds(delayMs);
    options.streaming = version >= 2;
    options.packing = version >= 3;
    options.faults.seed = 1;
    options.faults.drop = options.faults.corrupt = options.faults.nak = options.faults.late =
        g_faults / 4;
    up.server = std::make_unique<termsim::LineServer>(*up.line, up.pty->takeMaster(), options);
    up.server->start();
    return up;
}

enum class Kind { Upload, TextDownload, BinaryDownload };

const char* nameOf(Kind kind) {
    switch (kind) {
        case Kind::Upload: return "upload";
        case Kind::TextDownload: return "text download";
        case Kind::BinaryDownload: return "binary download";
    }
    return "";
}

// Seconds for our transfer, or a negative number when it failed.
double ours(Kind kind, const std::string& data, int delayMs, const fs::path& folder,
            int32_t baud = kBaud) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    auto up = lineOf(folder, "A", 0, baud, delayMs);
    if (!up) return -1;
    const fs::path terminalFile = folder / "ram-A" / "DATA.BIN";
    const fs::path hostFile = folder / "host.bin";
    if (kind == Kind::Upload) {
        writeFile(terminalFile, data);
    } else {
        writeFile(hostFile, data);
    }
    if (HM_OpenCommPort(kPort, baudIndexOf(baud), 8, 0, 1) != 1) return -1;
    HM_set_power_saving_status(0);
    HM_set_upload_file_save_mode(ZELO_SAVE_OVERWRITE);
    const auto start = Clock::now();
    int32_t result = 0;
    int32_t bytes = 0;
    int32_t packets = 0;
    if (kind == Kind::Upload) {
        char localName[ZELO_LOCAL_NAME_SIZE] = {};
        std::snprintf(localName, sizeof localName, "%s", hostFile.c_str());
        result = HM_upload1(kPort, 'A', "DATA.BIN", localName);
        if (result == 0) {
            do result = HM_upload2(&bytes, &packets);
            while (result == 1);
        }
    } else {
        int32_t offset = 0;
        result = HM_download1(kPort, 'A', hostFile.c_str(), "DATA.BIN", &offset);
        if (result == 0) {
            do result = HM_download2(&bytes, &packets);
            while (result == 1);
        }
    }
    const double seconds = secondsSince(start);
    HM_CloseCommPort(kPort);
    up->server->stop();
    const std::string arrived = readFile(kind == Kind::Upload ? hostFile : terminalFile);
    if (result != 0 || arrived != data) {
        std::fprintf(stderr, "link_vs_zmodem: our %s ended with %d, %zu of %zu bytes %s\n",
                     nameOf(kind), result, arrived.size(), data.size(),
                     arrived == data ? "right" : "WRONG");
        return -1;
    }
    return seconds;
}

// Starts `program` with its standard input and output on the device `tty`,
// in `folder`. The child's pid, or -1.
pid_t startOnTty(const std::string& tty, const fs::path& folder,
                 const std::vector<std::string>& arguments) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    const int fd = ::open(tty.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0 || ::chdir(folder.c_str()) != 0) ::_exit(127);
    ::dup2(fd, 0);
    ::dup2(fd, 1);
    const std::string log = arguments[0] + ".log";  // in `folder`
    const int messages = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (messages >= 0) ::dup2(messages, 2);
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

bool waitFor(pid_t pid) {
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

bool zmodemInstalled() {
    return std::system("command -v sz >/dev/null 2>&1 && command -v rz >/dev/null 2>&1") == 0;
}

// Seconds for ZMODEM (sz --binary, as the better of its modes for both kinds
// of data), or a negative number when it failed.
double zmodem(const std::string& data, int delayMs, const fs::path& folder, int32_t baud = kBaud) {
    fs::remove_all(folder);
    fs::create_directories(folder / "send");
    fs::create_directories(folder / "receive");
    writeFile(folder / "send" / "DATA.BIN", data);
    std::string error;
    auto relay = bench::PacedRelay::create(baud, std::chrono::milliseconds(delayMs), error);
    if (!relay) {
        std::fprintf(stderr, "link_vs_zmodem: %s\n", error.c_str());
        return -1;
    }
    const auto start = Clock::now();
    const pid_t receiver = startOnTty(relay->pathB(), folder / "receive", {"rz", "-q", "-y"});
    const pid_t sender =
        startOnTty(relay->pathA(), folder / "send", {"sz", "-q", "--binary", "DATA.BIN"});
    // The transfer is done when sz has its answer to the end of session: rz
    // has closed the file by then. sz flushes its output right after its
    // last "OO", which on a pseudo-terminal (where draining waits for
    // nothing) can drop it, leaving rz to wait 30 s for it; so rz is given a
    // moment and then ended.
    const bool sent = waitFor(sender);
    // At a low speed the relay still carries what sz wrote when it ends:
    // done once the whole file has arrived (bounded by its line time).
    const fs::path received = folder / "receive" / "DATA.BIN";
    const auto lineTime = std::chrono::milliseconds(
        static_cast<long long>(static_cast<double>(data.size()) / (baud / 10.0) * 1000));
    const auto until = Clock::now() + lineTime + std::chrono::seconds(5);
    std::error_code ignored;
    while (sent && Clock::now() < until && fs::file_size(received, ignored) < data.size()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const double seconds = secondsSince(start);
    std::this_thread::sleep_for(std::chrono::milliseconds(200 + 2 * delayMs));
    ::kill(receiver, SIGTERM);
    waitFor(receiver);
    const std::string arrived = readFile(received);
    if (!sent || arrived != data) {
        std::fprintf(stderr, "link_vs_zmodem: ZMODEM failed (%zu of %zu bytes)\n", arrived.size(),
                     data.size());
        return -1;
    }
    return seconds;
}

double percentOfLine(std::size_t bytes, double seconds, int32_t baud) {
    return seconds > 0 ? 100.0 * static_cast<double>(bytes) / seconds / (baud / 10.0) : 0;
}

// Records per second through HM_poll, visiting the terminals in turn.
double pollRate(int terminals, double seconds, const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXY0123456";
    const std::string addresses = alphabet.substr(0, static_cast<std::size_t>(terminals));
    auto up = lineOf(folder, addresses, 100000, 9600, 0);
    if (!up) return -1;
    if (HM_OpenCommPort(kPort, kBaudIndex9600, 8, 0, 1) != 1) return -1;
    const auto start = Clock::now();
    long records = 0;
    while (secondsSince(start) < seconds) {
        for (char address : addresses) {
            char record[ZELO_POLL_RECORD_SIZE];
            int32_t length = 0;
            if (HM_poll(kPort, address, record, &length) == 0) ++records;
        }
    }
    const double took = secondsSince(start);
    HM_CloseCommPort(kPort);
    up->server->stop();
    return static_cast<double>(records) / took;
}

// Effective throughput (file bytes per second) as a multiple of the line
// rate (baud / 10 bytes per second).
double timesLineRate(std::size_t bytes, double seconds, int32_t baud) {
    return seconds > 0 ? static_cast<double>(bytes) / seconds / (baud / 10.0) : 0;
}

// The price-file corpus against random binary of the same size, downloaded
// and uploaded at each speed: ours against the line rate and against ZMODEM.
bool corpusTable(std::size_t size, const std::vector<int>& bauds, bool haveZmodem,
                 const fs::path& folder) {
    bool ok = true;
    std::printf(
        "%zu-byte files, no delay: seconds, effective throughput as a multiple of "
        "the line rate%s\n",
        size, haveZmodem ? ", ZMODEM's time / ours" : "");
    std::printf("%-6s  %-7s  %-8s  %18s  %18s  %7s\n", "baud", "data", "way", "ours", "ZMODEM",
                "ratio");
    for (int baud : bauds) {
        for (const bool binary : {false, true}) {
            const std::string data = binary ? sampleData(true, size) : priceFile(size);
            // ZMODEM's time is the same either way; ours is timed both ways.
            const double theirs = haveZmodem ? zmodem(data, 0, folder / "z", baud) : -1;
            for (Kind kind : {Kind::TextDownload, Kind::Upload}) {
                const double mine = ours(kind, data, 0, folder / "o", baud);
                ok = ok && mine > 0;
                char oursText[32] = "failed";
                char theirsText[32] = "-";
                char ratio[16] = "-";
                if (mine > 0) {
                    std::snprintf(oursText, sizeof oursText, "%7.1f s %5.2fx", mine,
                                  timesLineRate(size, mine, baud));
                }
                if (theirs > 0) {
                    std::snprintf(theirsText, sizeof theirsText, "%7.1f s %5.2fx", theirs,
                                  timesLineRate(size, theirs, baud));
                }
                if (mine > 0 && theirs > 0)
                    std::snprintf(ratio, sizeof ratio, "%.2f", theirs / mine);
                std::printf(
                    "%-6d  %-7s  %-8s  %18s  %18s  %7s\n", baud, binary ? "binary" : "prices",
                    kind == Kind::Upload ? "upload" : "download", oursText, theirsText, ratio);
                std::fflush(stdout);
            }
        }
    }
    return ok;
}

// One file to every terminal of `addresses`, the way the program does it:
// to the group first (when `group`), then every terminal the group did not
// finish one by one, a member that failed resuming from what it holds.
struct ManyOutcome {
    double seconds = -1;
    int reportedFailures = 0;
    int silentCorruptions = 0;
    int finishedByGroup = 0;
};

int32_t downloadOne(char address, const fs::path& hostFile, bool resume) {
    int32_t size = 0;
    int32_t result = resume ? HM_download_group_resume(kPort, address, &size) : ZELO_NOT_GATHERED;
    if (result != ZELO_OK)
        result = HM_download1(kPort, address, hostFile.c_str(), "DATA.BIN", &size);
    if (result != ZELO_OK) return result;
    do result = HM_download2(nullptr, nullptr);
    while (result == ZELO_MORE);
    return result;
}

ManyOutcome downloadToMany(const std::string& data, const std::string& addresses, bool group,
                           const fs::path& folder) {
    ManyOutcome outcome;
    fs::remove_all(folder);
    fs::create_directories(folder);
    auto up = lineOf(folder, addresses, 0, kBaud, 0);
    if (!up) return outcome;
    const fs::path hostFile = folder / "host.bin";
    writeFile(hostFile, data);
    if (HM_OpenCommPort(kPort, kBaudIndex57600, 8, 0, 1) != 1) return outcome;
    HM_set_power_saving_status(0);
    const auto start = Clock::now();
    std::vector<int32_t> results(addresses.size(), ZELO_NOT_GATHERED);
    if (group && addresses.size() > 1 &&
        HM_download_group1(kPort, addresses.c_str(), hostFile.c_str(), "DATA.BIN") == ZELO_OK) {
        while (HM_download_group2(nullptr, nullptr) == ZELO_MORE) {
        }
        for (std::size_t i = 0; i < addresses.size(); ++i) {
            int32_t held = 0;
            HM_download_group_member(addresses[i], &results[i], &held);
            if (results[i] == ZELO_OK) {
                ++outcome.finishedByGroup;
            } else if (std::getenv("BENCH_TRACE") != nullptr) {
                std::fprintf(stderr, "link_vs_zmodem: the group left %c with %d, holding %d\n",
                             addresses[i], results[i], held);
            }
        }
    }
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        if (results[i] == ZELO_OK) continue;
        results[i] = downloadOne(addresses[i], hostFile, results[i] != ZELO_NOT_GATHERED);
    }
    outcome.seconds = secondsSince(start);
    HM_CloseCommPort(kPort);
    up->server->stop();
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        const bool same =
            readFile(folder / (std::string("ram-") + addresses[i]) / "DATA.BIN") == data;
        if (results[i] != ZELO_OK) {
            ++outcome.reportedFailures;
        } else if (!same) {
            ++outcome.silentCorruptions;
        }
    }
    return outcome;
}

// Group against today's loop against ZMODEM, for each number of terminals.
bool terminalsTable(std::size_t size, const std::vector<int>& counts, bool haveZmodem,
                    const fs::path& folder) {
    const std::string data = sampleData(true, size);
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXY0123456";
    const ManyOutcome one = downloadToMany(data, "A", false, folder / "one");
    const double zmodemOne = haveZmodem ? zmodem(data, 0, folder / "z") : -1;
    if (one.seconds <= 0) return false;
    std::printf(
        "%zu KiB of random binary to N terminals at %d baud%s: seconds, and as a multiple of one "
        "terminal alone (%.1f s)\n",
        size / 1024, kBaud, g_faults > 0 ? " under faults" : "", one.seconds);
    std::printf("%-3s  %15s  %15s  %15s  %10s  %s\n", "N", "group", "loop", "ZMODEM N x 1",
                "loop/group", "by group; failed, silently wrong (group / loop)");
    bool ok = true;
    for (int count : counts) {
        const std::string addresses =
            alphabet.substr(0, static_cast<std::size_t>(std::clamp(count, 1, 32)));
        const ManyOutcome group = downloadToMany(data, addresses, true, folder / "g");
        const ManyOutcome loop = downloadToMany(data, addresses, false, folder / "l");
        ok = ok && group.silentCorruptions == 0 && loop.silentCorruptions == 0 &&
             group.seconds > 0 && loop.seconds > 0;
        auto cell = [&](double seconds, char* text, std::size_t room) {
            if (seconds > 0) {
                std::snprintf(text, room, "%6.1f s %5.2fx", seconds, seconds / one.seconds);
            } else {
                std::snprintf(text, room, "-");
            }
        };
        char groupText[32], loopText[32], zmodemText[32];
        cell(group.seconds, groupText, sizeof groupText);
        cell(loop.seconds, loopText, sizeof loopText);
        cell(zmodemOne > 0 ? zmodemOne * count : -1, zmodemText, sizeof zmodemText);
        std::printf("%-3zu  %15s  %15s  %15s  %10.2f  %d; %d, %d / %d, %d\n", addresses.size(),
                    groupText, loopText, zmodemText,
                    group.seconds > 0 ? loop.seconds / group.seconds : 0.0, group.finishedByGroup,
                    group.reportedFailures, group.silentCorruptions, loop.reportedFailures,
                    loop.silentCorruptions);
        std::fflush(stdout);
    }
    return ok;
}

std::vector<int> numberList(const std::string& text) {
    std::vector<int> numbers;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) numbers.push_back(std::atoi(item.c_str()));
    return numbers;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t kib = 64;
    bool kibGiven = false;
    std::vector<int> delays{0, 10, 40};
    double pollSeconds = 10;
    bool transfers = true;
    bool polling = true;
    std::optional<std::vector<int>> corpusBauds;
    std::optional<std::vector<int>> terminalCounts;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--kib" && hasValue) {
            kib = static_cast<std::size_t>(std::atoi(argv[++i]));
            kibGiven = true;
        } else if (option == "--delays" && hasValue) {
            delays = numberList(argv[++i]);
        } else if (option == "--poll-seconds" && hasValue) {
            pollSeconds = std::atof(argv[++i]);
        } else if (option == "--faults" && hasValue) {
            g_faults = std::clamp(std::atof(argv[++i]), 0.0, 0.5);
        } else if (option == "--terminals" && hasValue) {
            terminalCounts = numberList(argv[++i]);
        } else if (option == "--corpus" && hasValue) {
            corpusBauds = numberList(argv[++i]);
        } else if (option == "--transfers-only") {
            polling = false;
        } else if (option == "--poll-only") {
            transfers = false;
        } else {
            std::fprintf(stderr,
                         "usage: link_vs_zmodem [--kib N] [--delays 0,10,40] [--poll-seconds S] "
                         "[--faults F] [--transfers-only | --poll-only | --corpus 57600,9600 | "
                         "--terminals 1,2,8,32]\n");
            return 2;
        }
    }
    if (!std::getenv("BENCH_TRACE")) ::setenv("PENDRA_TRACE", "", 1);
    const fs::path folder =
        fs::temp_directory_path() / ("link_vs_zmodem-" + std::to_string(::getpid()));
    bool ok = true;
    if (corpusBauds) {
        // The price-file table alone: 200,000 bytes unless --kib says otherwise.
        const std::size_t size = kibGiven ? kib * 1024 : 200000;
        ok = corpusTable(size, *corpusBauds, zmodemInstalled(), folder);
        transfers = polling = false;
    }
    if (terminalCounts) {
        ok = terminalsTable(kib * 1024, *terminalCounts, zmodemInstalled(), folder) && ok;
        transfers = polling = false;
    }
    if (transfers) {
        const bool haveZmodem = zmodemInstalled();
        const std::size_t size = kib * 1024;
        std::printf(
            "%zu KiB at %d baud: seconds, payload as %% of the line rate (baud / 10 bytes/s)%s\n",
            kib, kBaud, haveZmodem ? ", and ZMODEM's time / ours" : "");
        std::printf("%-6s  %-16s  %16s  %16s  %7s\n", "delay", "transfer", "ours", "ZMODEM",
                    "ratio");
        for (int delay : delays) {
            const double zmodemBinary =
                haveZmodem ? zmodem(sampleData(true, size), delay, folder / "z") : -1;
            const double zmodemText =
                haveZmodem ? zmodem(sampleData(false, size), delay, folder / "z") : -1;
            for (Kind kind : {Kind::Upload, Kind::TextDownload, Kind::BinaryDownload}) {
                const bool binary = kind != Kind::TextDownload;
                const double mine = ours(kind, sampleData(binary, size), delay, folder / "o");
                const double theirs = binary ? zmodemBinary : zmodemText;
                ok = ok && mine > 0;
                char oursText[32] = "failed";
                char theirsText[32] = "-";
                char ratio[16] = "-";
                if (mine > 0) {
                    std::snprintf(oursText, sizeof oursText, "%6.1f s %5.1f %%", mine,
                                  percentOfLine(size, mine, kBaud));
                }
                if (theirs > 0) {
                    std::snprintf(theirsText, sizeof theirsText, "%6.1f s %5.1f %%", theirs,
                                  percentOfLine(size, theirs, kBaud));
                }
                if (mine > 0 && theirs > 0)
                    std::snprintf(ratio, sizeof ratio, "%.2f", theirs / mine);
                std::printf("%3d ms  %-16s  %16s  %16s  %7s\n", delay, nameOf(kind), oursText,
                            theirsText, ratio);
                std::fflush(stdout);
            }
        }
    }
    if (polling) {
        std::printf("Polling at 9600 baud through HM_poll, terminals visited in turn\n");
        for (int terminals : {2, 10}) {
            const double rate = pollRate(terminals, pollSeconds, folder / "p");
            ok = ok && rate > 0;
            std::printf("%2d terminals  %6.1f records/s\n", terminals, rate);
            std::fflush(stdout);
        }
    }
    std::error_code ignored;
    if (std::getenv("BENCH_KEEP") == nullptr) fs::remove_all(folder, ignored);
    return ok ? 0 : 1;
}
