#include "headless/headless_run.hpp"

#include <chrono>
#include <fstream>
#include <ostream>
#include <thread>

#include "core/configuration.hpp"
#include "core/configuration_check.hpp"
#include "core/profile_file.hpp"
#include "headless/console_front_end.hpp"
#include "headless/progress_line.hpp"

namespace zelo::headless {
namespace {

// The desktop view's timer period: how often the run looks at Stop and at
// the worker.
constexpr auto kTick = std::chrono::milliseconds(10);

void ReportConfigurationNotes(core::Platform& platform, std::ostream& err) {
    core::ProfileFile file(platform, "Zelocom.ini");
    file.Load();
    for (const std::string& note : core::CheckConfiguration(file.Text(), "Zelocom.ini")) {
        err << "zelo32: " << note << "\n";
    }
}

// After a usage error, one line that points at the help.
constexpr const char* kTryHelp = "Try 'zelo32 --help' for more information.\n";

}  // namespace

HeadlessOptions ParseHeadlessOptions(const std::vector<std::string>& arguments) {
    HeadlessOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (options.commandLine.empty() && (argument == "--help" || argument == "-h")) {
            options.help = true;
        } else if (options.commandLine.empty() && argument == "--poll-data") {
            if (i + 1 == arguments.size()) {
                options.error = "--poll-data needs a file name (or - for standard output).";
                return options;
            }
            options.pollDataPath = arguments[++i];
        } else if (options.commandLine.empty() && argument.rfind("--", 0) == 0) {
            options.error = "unknown option " + argument + ".";
            return options;
        } else {
            // The view reads one text with the parts separated by blanks.
            if (!options.commandLine.empty()) options.commandLine += ' ';
            options.commandLine += argument;
        }
    }
    return options;
}

std::string HelpText() {
    return "Usage: zelo32 [OPTION]... [PHONE] ADDRESSES COMMAND [ARGUMENTS]\n"
           "       zelo32 [OPTION]... [PHONE] Z SCRIPT\n"
           "\n"
           "Runs one terminal command, or a batch script, without a display, with the\n"
           "settings of Zelocom.ini in the current directory. ADDRESSES lists the\n"
           "terminals (A to Y, 0 to 6) in the order they are visited. COMMAND:\n"
           "  1                  poll the terminals (polled-data file of [POLL])\n"
           "  A                  warm start\n"
           "  E FILE             erase FILE on the terminals (at most 19 characters)\n"
           "  L PCFILE TERMFILE [REPEAT]  download PCFILE to the terminals\n"
           "  M                  set the terminals' clocks from the PC clock\n"
           "  U TERMFILE PCFILE  upload TERMFILE from the terminals into PCFILE\n"
           "  X PROGRAM          run PROGRAM from the terminals' RAM disk\n"
           "Z SCRIPT runs each line of SCRIPT (ADDRESSES COMMAND [ARGUMENTS]) in turn.\n"
           "With Use_modem=Yes in [Modem], PHONE is the number to dial first.\n"
           "The parts together are at most 99 characters, and at most 5 besides PHONE.\n"
           "\n"
           "Options:\n"
           "  --port DEVICE      use DEVICE as the COM port of Zelocom.ini for this run;\n"
           "                     a line over the network is rfc2217://HOST:PORT (Telnet\n"
           "                     with RFC 2217 port control) or socket://HOST:PORT (raw TCP)\n"
           "  -C, --directory DIR  run in DIR: its Zelocom.ini, ADDR_x folders, POLL.DAT\n"
           "  --poll-data FILE   also write polled records to FILE (- for standard output)\n"
           "  -q, --quiet        no progress line\n"
           "  -v, --verbose      the link's step messages on standard error\n"
           "  --list-ports       list the serial devices found, then exit\n"
           "  -h, --help         this help, then exit\n"
           "  -V, --version      the program's and the library's versions, then exit\n"
           "\n"
           "Result lines go to standard output; messages, the reasons for failures and,\n"
           "on a terminal, the transfer progress line go to standard error.\n"
           "Ctrl-C or SIGTERM stops the command as the Stop button does.\n"
           "\n"
           "Exit status: 0 the command ran and every terminal succeeded; 1 a terminal\n"
           "failed, the line could not be opened, a file could not be written, or the\n"
           "run was stopped; 2 a usage error (unknown option or command, too few parts,\n"
           "a limit, a missing or unreadable script, a script line over 99 characters,\n"
           "an unreadable Zelocom.ini); 130 Ctrl-C (SIGINT); 143 SIGTERM.\n";
}

int RunHeadless(const HeadlessOptions& options, core::Platform& platform, std::ostream& out,
                std::ostream& err, const OperationsFactory& makeOperations,
                const std::atomic<int>& stopSignal) {
    if (options.help) {
        out << HelpText();
        return kExitSuccess;
    }
    if (!options.error.empty()) {
        err << "zelo32: " << options.error << "\n" << kTryHelp;
        return kExitUsage;
    }
    if (options.commandLine.empty()) {
        err << "zelo32: nothing to do; the console program needs a command.\n" << kTryHelp;
        return kExitUsage;
    }

    // The configuration is read only from a regular file of sensible size: a
    // pipe or a device in its place would block the start or never end.
    const core::ConfigurationLocation location =
        core::LocateConfiguration(platform.CurrentDirectory(), platform.PathSeparator());
    std::string configuration;
    if (platform.ReadFile(location.configurationPath, core::ProfileFile::kMaxBytes,
                          configuration) == core::ReadResult::kFailed) {
        err << "zelo32: cannot read " << location.configurationPath
            << ": it is not a regular file, cannot be read, or is larger than "
            << core::ProfileFile::kMaxBytes << " bytes; nothing was run.\n";
        return kExitUsage;
    }

    std::ofstream pollFile;
    std::ostream* pollData = nullptr;
    if (options.pollDataPath == "-") {
        pollData = &out;
    } else if (!options.pollDataPath.empty()) {
        pollFile.open(options.pollDataPath, std::ios::binary | std::ios::app);
        if (!pollFile) {
            err << "zelo32: cannot open " << options.pollDataPath << " for polled records.\n";
            return kExitUsage;
        }
        pollData = &pollFile;
    }

    // The run's settings as they will be read: what the loader would replace.
    ReportConfigurationNotes(platform, err);

    ConsoleFrontEnd frontEnd(out, err, pollData);
    program::Program program(platform, frontEnd, makeOperations);
    frontEnd.SetSave([&program] { program.View().SaveConfiguration(); });
    core::CommandWorker& worker = program.Worker();
    core::ProgramController& controller = program.Controller();
    std::unique_ptr<ProgressLine> progressLine;
    if (options.progress) {
        progressLine = std::make_unique<ProgressLine>(err);
        frontEnd.SetProgress(progressLine.get(), program.View().State().progress,
                             program.View().State().comm);
    }

    const core::CommandLineResult started = controller.StartUp(options.commandLine);
    if (started == core::CommandLineResult::kUnusable) {
        err << "zelo32: unknown command character or too few parts in \"" << options.commandLine
            << "\"; nothing was run.\n";
    }
    while (worker.WorkerBusy() != 0) {
        if (stopSignal.load() != 0) {
            controller.Stop();  // returns once the worker has ended
            break;
        }
        std::this_thread::sleep_for(kTick);
    }
    if (progressLine) progressLine->Finish();
    // The program's end: close the line, save, close the log.
    program.ShutDown();

    return core::DecideExitStatus(controller.Summary());
}

}  // namespace zelo::headless
