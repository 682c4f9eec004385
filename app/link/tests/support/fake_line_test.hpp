// The fixture of the link tests: the real terminal library over the fake
// link layer, a connection object that records what it reports, and the
// view's records it works on. FileTerminalsTest adds an environment whose
// clock moves only when the code pauses (or a test says so) and a fresh
// working folder, for the polling engine and the transfers.
#pragma once

#include <gtest/gtest.h>
#include <zelodll.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_pendra.hpp"
#include "file_bytes.hpp"
#include "link/terminal_link.hpp"
#include "recording_link.hpp"
#include "temporary_folder.hpp"

namespace zelo::link::testing {

// A polled-data file that fails its writes after a number of good ones.
class CountedPollFile final : public platform::AppendFile {
public:
    CountedPollFile(std::unique_ptr<platform::AppendFile> inner, int& writesLeft, int& openFiles)
        : inner_(std::move(inner)), writesLeft_(writesLeft), openFiles_(openFiles) {
        ++openFiles_;
    }
    ~CountedPollFile() override { --openFiles_; }
    bool Write(std::string_view bytes) override {
        if (writesLeft_ == 0) return false;
        if (writesLeft_ > 0) --writesLeft_;
        return inner_->Write(bytes);
    }
    bool Flush() override { return inner_->Flush(); }

private:
    std::unique_ptr<platform::AppendFile> inner_;
    int& writesLeft_;
    int& openFiles_;
};

// Real folders and files; a clock in milliseconds that pauses advance.
class FakeEnvironment final : public platform::SystemPlatform {
public:
    platform::LocalTime Now() override {
        const long long second = startSecondOfDay + milliseconds / 1000;
        return {.year = 2026,
                .month = 12,
                .day = 8,
                .hour = static_cast<int>(second / 3600 % 24),
                .minute = static_cast<int>(second / 60 % 60),
                .second = static_cast<int>(second % 60)};
    }
    std::int64_t Seconds() override { return milliseconds / 1000; }
    void Sleep(int ms) override {
        sleeps.push_back(ms);
        milliseconds += ms;
        if (onSleep) onSleep();
    }
    char PathSeparator() const override { return '/'; }
    bool EnsureDirectory(const std::string& path) override {
        return platform::System().EnsureDirectory(path);
    }
    std::optional<std::int64_t> FileSize(const std::string& path) override {
        return platform::System().FileSize(path);
    }
    std::unique_ptr<platform::AppendFile> OpenForAppend(const std::string& path) override {
        // The numbers kept beside the polled-data file are not counted.
        if (path.ends_with(".numbers")) return platform::System().OpenForAppend(path);
        if (failAppendOpen) return nullptr;
        return Count(platform::System().OpenForAppend(path));
    }
    std::unique_ptr<platform::AppendFile> CreateEmpty(const std::string& path) override {
        ++createEmptyCalls;
        return Count(platform::System().CreateEmpty(path));
    }

    void SetTimeOfDay(int hour, int minute, int second) {
        startSecondOfDay = hour * 3600 + minute * 60 + second - milliseconds / 1000;
    }

    long long milliseconds = 0;
    long long startSecondOfDay = 9 * 3600;
    std::vector<int> sleeps;
    std::function<void()> onSleep;
    int pollWritesLeft = -1;  // -1: never fail
    int openPollFiles = 0;
    bool failAppendOpen = false;  // an append open that fails, as a locked file's would
    int createEmptyCalls = 0;

private:
    std::unique_ptr<platform::AppendFile> Count(std::unique_ptr<platform::AppendFile> file) {
        if (!file) return nullptr;
        return std::make_unique<CountedPollFile>(std::move(file), pollWritesLeft, openPollFiles);
    }
};

// A reply of the fake link layer: its result and the bytes handed back.
inline fake_pendra::Reply Answer(int16_t result, std::string bytes = {}) {
    return fake_pendra::reply(result, std::move(bytes));
}

using test_support::ReadAll;
using test_support::WriteAll;

// The library's line open on the fake link layer, and nothing more.
class FakeLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake_pendra::reset();
        HM_set_power_saving_status(0);
        comm.addresses = "ABC";
        ASSERT_EQ(HM_OpenCommPort(comm.port, comm.baudIndex, 8, 0, 1), 1);
    }
    void TearDown() override {
        // Responders may hold a test's locals, which are gone by now.
        fake_pendra::setResponder(nullptr);
        HM_CloseCommPort(comm.port);
        fake_pendra::reset();
    }

    RecordingLink link;
    CommSettings comm;
    LinkStatus status;
    ProgressState progress;
    OperationContext operation{comm, status, progress};
};

// Terminals that hold files, every address selected, a fake clock and a
// fresh working folder.
class FileTerminalsTest : public FakeLineTest {
protected:
    void SetUp() override {
        FakeLineTest::SetUp();
        HM_set_upload_file_save_mode(ZELO_SAVE_OVERWRITE);
        link.SetEnvironment(environment);
    }

    std::string File(const std::string& name) const { return folder.File(name); }

    test_support::TemporaryFolder folder{"zelo-operations"};
    FakeEnvironment environment;
};

}  // namespace zelo::link::testing
