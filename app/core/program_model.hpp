#pragma once

#include "core/configuration.hpp"
#include "core/core_platform.hpp"
#include "core/error_log.hpp"
#include "core/front_end_duties.hpp"
#include "core/model_state.hpp"
#include "core/model_terminal_link.hpp"
#include "core/result_line_writer.hpp"

namespace zelo::core {

// The framework-free part of the main view, which the desktop view and the
// console front-end each hold: the view's records, where its files live, the
// error log, the result-line writer and the connection object the worker
// uses. The front-end supplies the duties only it can do (windows, boxes,
// dialogs).
class ProgramModel {
public:
    ProgramModel(Platform& platform, FrontEndDuties& view);
    ProgramModel(const ProgramModel&) = delete;
    ProgramModel& operator=(const ProgramModel&) = delete;

    // The view's start-up, up to the command line: find the working
    // directory, load the configuration, hand the library its settings,
    // open the error log, and give every address the configured terminal
    // type. The records already hold the in-memory defaults. With a command
    // line to follow, a run that will close by itself shows no box already
    // at start-up.
    void StartUp(bool commandLineFollows = false);

    // Reads the configuration again (a settings dialog opens, a command was
    // stopped), discarding values a command-line run had put in place. Never
    // opens the Terminal dialog: that belongs to the start-up only, and a
    // stopped command reloads on the worker thread.
    void ReloadConfiguration();
    // False when the file could not be written; the old one is then intact.
    bool SaveConfiguration();
    // The settings changed the error-log mode: close the old log, open the new.
    void ChangeErrorLogMode(int mode);
    // Program end, after the line has been closed: save and close the log.
    void ShutDown();

    // A command line with AUTO_EXIT is running (a script's included, which
    // holds AUTO_EXIT at 0 meanwhile): nothing may wait for a person.
    bool ClosesByItself() const;
    // Result lines with a failure code and failure boxes so far.
    int FailuresReported() const { return writer_.FailuresReported(); }

    ModelState& State() { return state_; }
    // The file system and clock the view works with.
    Platform& Files() { return platform_; }
    ResultLineWriter& Writer() { return writer_; }
    // The connection object, with its hooks attached to this view.
    ModelTerminalLink& Link() { return link_; }
    // The front-end's duties, for notes beside the result lines.
    FrontEndDuties& Duties() { return view_; }

private:
    Platform& platform_;
    FrontEndDuties& view_;
    ModelState state_;
    ConfigurationLocation location_;
    ErrorLog errorLog_;
    ResultLineWriter writer_;
    ModelTerminalLink link_;
    // The user interface thread's, during StartUp only.
    bool commandLineFollows_ = false;
};

}  // namespace zelo::core
