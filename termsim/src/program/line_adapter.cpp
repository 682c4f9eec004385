#include "line_adapter.hpp"

#include <signal.h>

#include <atomic>
#include <filesystem>
#include <iostream>

#include "command_line.hpp"
#include "line/line_endpoint.hpp"
#include "line/line_server.hpp"

namespace termsim {

namespace {

// The server a signal asks to stop; requestStop only stores an atomic flag,
// which is safe from a signal handler.
std::atomic<LineServer*> g_serving{nullptr};

extern "C" void stopServing(int) {
    if (LineServer* server = g_serving.load()) server->requestStop();
}

FaultSettings faultsOf(const LineSetup& setup) {
    FaultSettings faults;
    faults.corrupt = setup.corrupt;
    faults.drop = setup.drop;
    faults.nak = setup.nak;
    faults.late = setup.late;
    faults.silent = setup.silent;
    faults.seed = static_cast<uint32_t>(setup.seed);
    return faults;
}

// A fixed name for the pseudo-terminal, replacing an earlier link of ours.
bool makeLink(const std::string& linkPath, const std::string& target) {
    std::error_code error;
    if (std::filesystem::is_symlink(linkPath, error)) std::filesystem::remove(linkPath, error);
    std::filesystem::create_symlink(target, linkPath, error);
    if (error)
        std::cerr << "zelo-termsim: cannot link " << linkPath << ": " << error.message() << "\n";
    return !error;
}

}  // namespace

int runLine(const LineSetup& setup, TerminalLine& line) {
    pendra::platform::LineSettings settings;
    settings.baud = static_cast<int32_t>(setup.baud);
    std::string error;
    auto endpoint = openLineEndpoint(setup.device, settings, error);
    if (!endpoint) {
        std::cerr << "zelo-termsim: " << error << "\n";
        return kExitFailure;
    }
    const bool linked = !setup.linkPath.empty() && setup.device.empty();
    if (linked && !makeLink(setup.linkPath, endpoint->hostPath)) return kExitFailure;
    std::cout << "zelo-termsim: line on " << endpoint->hostPath << std::endl;

    LineOptions options;
    options.baud = settings.baud;
    options.faults = faultsOf(setup);
    if (setup.fixedSpeed && endpoint->pty) {
        const PseudoTerminal* pty = endpoint->pty.get();
        options.hostSpeed = [pty] { return pty->hostSpeed(); };
    }
    options.oneWayDelay = std::chrono::milliseconds(setup.delayMs);
    options.think = std::chrono::milliseconds(setup.thinkMs);
    options.streaming = setup.protocol >= 2;
    options.packing = setup.protocol >= 3;
    options.flipDownloadByte = setup.flipDownloadByte;
    options.flipUploadByte = setup.flipUploadByte;
    LineServer server(line, std::move(endpoint->port), options);
    g_serving.store(&server);
    struct sigaction action {};
    action.sa_handler = stopServing;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    server.run();
    g_serving.store(nullptr);

    if (linked) {
        std::error_code ignored;
        std::filesystem::remove(setup.linkPath, ignored);
    }
    std::cout << "zelo-termsim: line closed" << std::endl;
    return kExitDone;
}

}  // namespace termsim
