#include "trace.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace pendra::trace {

namespace {

struct Sink {
    std::mutex mutex;
    std::FILE* file = nullptr;
};

Sink& sink() {
    static Sink* opened = [] {
        auto* s = new Sink;  // never destroyed: frames may be traced during exit
        const char* target = std::getenv("PENDRA_TRACE");
        if (target == nullptr || target[0] == 0) return s;
        if (std::strcmp(target, "stderr") == 0) {
            s->file = stderr;
        } else {
            s->file = std::fopen(target, "a");
        }
        return s;
    }();
    return *opened;
}

void writeLine(const std::string& text) {
    Sink& s = sink();
    if (s.file == nullptr) return;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    const long long ofDay = ms % 86'400'000;
    std::lock_guard<std::mutex> guard(s.mutex);
    std::fprintf(s.file, "%02lld:%02lld:%02lld.%03lld %s\n", ofDay / 3'600'000, ofDay / 60'000 % 60,
                 ofDay / 1000 % 60, ofDay % 1000, text.c_str());
    std::fflush(s.file);
}

}  // namespace

bool enabled() { return sink().file != nullptr; }

void frame(char direction, const std::string& bytes) {
    if (!enabled()) return;
    static const char* digits = "0123456789ABCDEF";
    std::string text(1, direction);
    for (unsigned char byte : bytes) {
        text += ' ';
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    writeLine(text);
}

void note(const std::string& text) {
    if (enabled()) writeLine("# " + text);
}

}  // namespace pendra::trace
