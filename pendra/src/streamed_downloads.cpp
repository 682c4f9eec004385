#include "streamed_downloads.hpp"

#include <algorithm>
#include <limits>

#include "download_messages.hpp"
#include "escaped_decoding.hpp"
#include "message_codec.hpp"
#include "trace.hpp"
#include "upload_window.hpp"

namespace pendra {

namespace {

using std::chrono::milliseconds;

// Setbacks in a row (frames reported missing, damaged or unanswered) without
// the terminal holding one byte more, on top of the repeats allowed, before
// the stream counts as broken.
constexpr int kExtraSetbacks = 4;

// Offsets travel as 32 bits; a longer file goes stop-and-wait, unchecked.
constexpr uint64_t kMaxStreamedLength = std::numeric_limits<uint32_t>::max() - 0xFFFF;

Outcome resultOnly(uint8_t status) {
    Outcome outcome;
    outcome.status = status;
    outcome.reply.status = status;
    return outcome;
}

}  // namespace

void StreamedDownloads::clear() {
    for (DownloadStream& download : streams_) download.clear();
    streaming_.reset();
}

bool StreamedDownloads::mayGroup(char address) const {
    const DownloadStream& download = of(address);
    return download.packing && download.mayStream && !download.failure &&
           !download.window.active() && download.check.known() && download.check.length() == 0;
}

void StreamedDownloads::groupEnded(char address, bool kept, std::string_view prefix) {
    DownloadStream& download = of(address);
    if (kept) {
        download.clear();
        return;
    }
    // A resume at exactly `prefix` goes on checked from there.
    download.window.stop();
    download.failure.reset();
    download.check.start();
    download.check.add(prefix);
}

StreamedDownloads::Before StreamedDownloads::before(const wire::Request& request) {
    DownloadStream& download = of(request.address);
    download.streamedLast = false;
    // The acknowledgements of a stream to another terminal share the line:
    // that stream is settled first.
    if (streaming_ && *streaming_ != request.address) settleDownload(*streaming_);
    const DownloadText kind = request.command == wire::Command::Text
                                  ? downloadTextKind(request.payload)
                                  : DownloadText::Other;
    if (kind == DownloadText::Data && download.checkedEnd) {
        if (download.failure) return {resultOnly(*download.failure), {}};
        if (download.mayStream && download.check.known() &&
            download.check.length() + wire::kStreamDataBytes < kMaxStreamedLength) {
            if (auto bytes = wire::unescaped(std::string_view(request.payload).substr(1))) {
                return {streamedData(request.address, *bytes), {}};
            }
            trace::note(
                "data packet not in the escaped form: sent stop-and-wait, the end unchecked");
            settleDownload(request.address);
            download.mayStream = false;
            download.check.forget();
            if (download.failure) return {resultOnly(*download.failure), {}};
            return {};
        }
    }
    if (kind == DownloadText::Cancel) {
        // The terminal drops the file: what is on its way no longer matters.
        endStream(request.address);
        return {};
    }
    // Before any other request the terminal must hold all the caller was
    // told it holds.
    settleDownload(request.address);
    if (kind == DownloadText::End && download.checkedEnd) {
        if (download.failure) {
            const uint8_t status = *download.failure;
            trace::note("end request not sent: the data before it did not all arrive");
            download.clear();
            return {resultOnly(status), {}};
        }
        if (download.check.known() && download.check.length() <= kMaxStreamedLength) {
            wire::Request end;
            end.command = wire::Command::CheckedEnd;
            end.address = request.address;
            end.payload = wire::encodeEndCheck(
                {download.check.crc(), static_cast<uint32_t>(download.check.length())});
            download.clear();
            return {{}, std::move(end)};
        }
        trace::note("no check of the whole file known: the end goes unchecked");
    }
    return {};
}

void StreamedDownloads::after(const wire::Request& request, Outcome& outcome, milliseconds took,
                              std::size_t requestBytes) {
    if (request.command != wire::Command::Text) return;
    DownloadStream& download = of(request.address);
    const DownloadText kind = downloadTextKind(request.payload);
    switch (kind) {
        case DownloadText::Announce:
        case DownloadText::Resume: {
            bool listed = false;
            bool packs = false;
            if (outcome.status == kResultAccepted && isVersionList(outcome.reply.payload)) {
                // The caller sees what a version-1 terminal answers.
                const std::string& versions = outcome.reply.payload;
                listed =
                    versions.find(static_cast<char>(wire::kVersionStreaming)) != std::string::npos;
                packs = versions.find(static_cast<char>(wire::kVersionPacked)) != std::string::npos;
                outcome.reply.payload.clear();
            }
            if (outcome.status != kResultAccepted) {
                // A resume not taken leaves the terminal's length unknown:
                // no data may follow until one is.
                if (kind == DownloadText::Resume && download.checkedEnd) {
                    download.failure = outcome.status;
                } else if (kind == DownloadText::Announce) {
                    download.clear();
                }
                return;
            }
            download.window.stop();
            if (kind == DownloadText::Announce) {
                download.check.start();
            } else if (!download.check.cutTo(*resumeOffset(request.payload))) {
                trace::note("resumed where no check of the file is known: the end goes unchecked");
            }
            download.checkedEnd = listed && protocol_ >= wire::kVersionStreaming;
            download.mayStream = download.checkedEnd;
            download.packing = download.checkedEnd && packs && protocol_ >= wire::kVersionPacked;
            download.failure.reset();
            const auto frames = line_.lineTime(requestBytes) +
                                line_.lineTime(wire::frameSize(wire::Direction::Reply,
                                                               outcome.reply.payload.size()));
            download.turnaround = std::max(milliseconds(0), took - frames);
            return;
        }
        case DownloadText::Data:
            if (outcome.status == kResultAccepted && download.check.known()) {
                // Sent stop-and-wait: the terminal holds it as it decodes it.
                if (auto bytes = wire::unescaped(std::string_view(request.payload).substr(1))) {
                    download.check.add(*bytes);
                } else {
                    download.check.forget();
                }
            }
            return;
        case DownloadText::End:
        case DownloadText::Cancel: download.clear(); return;
        case DownloadText::Other: return;
    }
}

Outcome StreamedDownloads::streamedData(char address, const std::string& bytes) {
    DownloadStream& download = of(address);
    if (!download.window.active()) {
        const auto frameTime =
            line_.lineTime(wire::frameSize(wire::Direction::Request, wire::kMaxPayload));
        download.epoch = static_cast<uint8_t>(download.epoch + 1);
        // A frame is answered only once its own line time has passed, and a
        // terminal may take a few frames in one go before it answers them:
        // the window covers six frame times beyond the turnaround.
        const auto cover = download.turnaround + 6 * frameTime;
        download.window.start(download.epoch, static_cast<uint32_t>(download.check.length()),
                              UploadWindow::sizeFor(cover.count(), frameTime.count()),
                              download.packing);
        streaming_ = address;
        line_.discardInput();
        trace::note("download window of " + std::to_string(download.window.size()) + " frames");
    }
    download.check.add(bytes);
    download.window.queue(bytes);
    if (!pumpDownload(address, false)) return resultOnly(*download.failure);
    download.streamedLast = true;
    return resultOnly(kResultAccepted);
}

void StreamedDownloads::endStream(char address) {
    of(address).window.stop();
    if (streaming_ == address) streaming_.reset();
}

bool StreamedDownloads::settleDownload(char address) {
    if (!of(address).window.active()) return true;
    const bool settled = pumpDownload(address, true);
    endStream(address);
    return settled;
}

bool StreamedDownloads::streamFailed(char address, uint8_t status) {
    of(address).failure = status;
    endStream(address);
    return false;
}

bool StreamedDownloads::pumpDownload(char address, bool untilSettled) {
    DownloadStream& download = of(address);
    DownloadWindow& window = download.window;
    if (untilSettled) window.flush();
    const auto frameTime =
        line_.lineTime(wire::frameSize(wire::Direction::Request, wire::kMaxPayload));
    int setbacks = 0;
    uint8_t cause = kResultTimeOut;
    for (;;) {
        if (!line_.connected()) return streamFailed(address, kResultLineFailure);
        while (const DownloadWindow::Frame* frame = window.nextToSend()) {
            wire::Request data;
            data.command = wire::Command::StreamData;
            data.address = address;
            if (frame->packed.empty()) {
                data.payload = wire::encodeStreamData(window.epoch(), frame->offset, frame->bytes);
            } else {
                data.command = wire::Command::PackedData;
                data.payload = wire::encodePackedData({window.epoch(), frame->offset,
                                                       static_cast<uint16_t>(frame->bytes.size()),
                                                       frame->dictionary, frame->packed});
            }
            const auto encoded = wire::requestFrame(data, frame->serial);
            window.markSent();
            if (!encoded || !line_.send(*encoded)) return streamFailed(address, kResultLineFailure);
        }
        StreamNews news;
        if (!takeDownloadReplies(address, line_.now(), false, news)) return false;
        if (untilSettled ? window.settled() : !window.framesWaiting()) return true;
        if (news.advanced) setbacks = 0;
        if (window.nextToSend() != nullptr) continue;
        const auto deadline = line_.now() + line_.answerAllowance() + download.turnaround +
                              (window.size() + 1) * frameTime;
        if (!news.advanced && !news.setback && !takeDownloadReplies(address, deadline, true, news))
            return false;
        if (news.advanced) {
            setbacks = 0;
            continue;
        }
        if (news.setback) {
            cause = kResultNak;
        } else {
            cause = kResultTimeOut;
            trace::note("no acknowledgement in time: data frames sent again from " +
                        std::to_string(window.acknowledged()));
            window.goBack();
        }
        if (++setbacks > line_.retransmissions() + kExtraSetbacks) {
            trace::note("the terminal takes no more data: the stream failed");
            return streamFailed(address, cause);
        }
    }
}

bool StreamedDownloads::takeDownloadReplies(char address, LinkLine::TimePoint until, bool untilNews,
                                            StreamNews& news) {
    DownloadWindow& window = of(address).window;
    std::optional<uint8_t> refused;
    const auto onFrame = [&](const wire::FrameDecoder::Event& event) {
        const wire::Frame& frame = event.frame;
        if (frame.direction != wire::Direction::Reply ||
            frame.address != static_cast<uint8_t>(address) ||
            (frame.command != static_cast<uint8_t>(wire::Command::StreamData) &&
             frame.command != static_cast<uint8_t>(wire::Command::PackedData))) {
            return false;
        }
        if (event.kind == wire::FrameDecoder::Kind::Damaged) {
            trace::note("damaged data acknowledgement skipped");
            return false;
        }
        trace::frame('<', wire::encodeFrame(frame));
        const uint32_t before = window.acknowledged();
        const auto held = wire::decodeStreamHeld(frame.payload);
        if (frame.status == kResultNak) {
            window.goBackTo(static_cast<uint8_t>(frame.tag & wire::kSerialMask));
            news.setback = true;
            return untilNews;
        }
        if (!held || held->epoch != window.epoch()) return false;  // stray, or from an older stream
        if (frame.status != wire::kStreamHeld && frame.status != wire::kStreamMissing) {
            trace::note("the terminal refused the data (" + std::to_string(frame.status) + ")");
            refused = frame.status;
            return true;
        }
        if (!window.held(held->epoch, held->stored)) return false;  // not a length it can hold
        if (window.acknowledged() != before) news.advanced = true;
        if (frame.status == wire::kStreamMissing) {
            window.goBack();
            news.setback = true;
        }
        return untilNews && (news.advanced || news.setback);
    };
    auto heard = line_.listen(until, onFrame);
    // News came: what arrived with it is taken too, before more goes out.
    if (heard == LinkLine::Heard::Enough && !refused) {
        untilNews = false;
        heard = line_.listen(line_.now(), onFrame);
    }
    if (heard == LinkLine::Heard::LineLost) return streamFailed(address, kResultLineFailure);
    if (refused) return streamFailed(address, *refused);
    return true;
}

}  // namespace pendra
