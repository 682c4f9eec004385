// Streamed downloads (protocol version 2), the link's side. The caller's
// data packets go out as data frames without waiting for their answers,
// within a window; the link keeps a copy of each until the terminal reports
// holding it and sends again what is reported missing or goes unanswered.
// Anything the link cannot repair is kept and returned from the caller's
// next data packet or end request, and the end request carries the whole
// file's length and CRC-32, which the terminal checks before it keeps the
// file: no fault leaves a wrong file reported as delivered.
#include <algorithm>
#include <limits>

#include "download_messages.hpp"
#include "escaped_decoding.hpp"
#include "line_settings.hpp"
#include "link.hpp"
#include "message_codec.hpp"
#include "trace.hpp"

namespace pendra {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Setbacks in a row (frames reported missing, damaged or unanswered) without
// the terminal holding one byte more, on top of the repeats allowed, before
// the stream counts as broken.
constexpr int kExtraSetbacks = 4;

// Offsets travel as 32 bits; a longer file goes stop-and-wait, unchecked.
constexpr uint64_t kMaxStreamedLength = std::numeric_limits<uint32_t>::max() - 0xFFFF;

Link::Outcome resultOnly(uint8_t status) {
    Link::Outcome outcome;
    outcome.status = status;
    outcome.reply.status = status;
    return outcome;
}

int millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 50));
}

}  // namespace

std::optional<Link::Outcome> Link::downloadBefore(const wire::Request& request, Peer& peer) {
    DownloadStream& download = peer.download;
    download.streamedLast = false;
    // The acknowledgements of a stream to another terminal share the line:
    // that stream is settled first.
    if (downloadStreaming_ && *downloadStreaming_ != request.address) {
        settleDownload(*downloadStreaming_, peers_[static_cast<uint8_t>(*downloadStreaming_)]);
    }
    const DownloadText kind = request.command == wire::Command::Text
                                  ? downloadTextKind(request.payload)
                                  : DownloadText::Other;
    if (kind == DownloadText::Data && download.checkedEnd) {
        if (download.failure) return resultOnly(*download.failure);
        if (download.mayStream && download.check.known() &&
            download.check.length() + wire::kStreamDataBytes < kMaxStreamedLength) {
            if (auto bytes = wire::unescaped(std::string_view(request.payload).substr(1))) {
                return streamedData(request.address, peer, *bytes);
            }
            trace::note(
                "data packet not in the escaped form: sent stop-and-wait, the end unchecked");
            settleDownload(request.address, peer);
            download.mayStream = false;
            download.check.forget();
            if (download.failure) return resultOnly(*download.failure);
            return std::nullopt;
        }
    }
    if (kind == DownloadText::Cancel) {
        // The terminal drops the file: what is on its way no longer matters.
        endStream(peer);
        return std::nullopt;
    }
    // Before any other request the terminal must hold all the caller was
    // told it holds.
    settleDownload(request.address, peer);
    if (kind == DownloadText::End && download.checkedEnd) {
        if (download.failure) {
            const uint8_t status = *download.failure;
            trace::note("end request not sent: the data before it did not all arrive");
            download.clear();
            return resultOnly(status);
        }
        if (download.check.known() && download.check.length() <= kMaxStreamedLength) {
            wire::Request end;
            end.command = wire::Command::CheckedEnd;
            end.address = request.address;
            end.payload = wire::encodeEndCheck(
                {download.check.crc(), static_cast<uint32_t>(download.check.length())});
            download.clear();
            Outcome outcome = exchange(end);
            outcome.reply.payload.clear();
            return outcome;
        }
        trace::note("no check of the whole file known: the end goes unchecked");
    }
    return std::nullopt;
}

void Link::downloadAfter(const wire::Request& request, Peer& peer, Outcome& outcome,
                         milliseconds took, std::size_t requestBytes) {
    if (request.command != wire::Command::Text) return;
    DownloadStream& download = peer.download;
    const DownloadText kind = downloadTextKind(request.payload);
    switch (kind) {
        case DownloadText::Announce:
        case DownloadText::Resume: {
            bool listed = false;
            if (outcome.status == 4 && isVersionList(outcome.reply.payload)) {
                // The caller sees what a version-1 terminal answers.
                listed = outcome.reply.payload.find(static_cast<char>(wire::kVersionStreaming)) !=
                         std::string::npos;
                outcome.reply.payload.clear();
            }
            if (outcome.status != 4) {
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
            download.failure.reset();
            const auto frames = lineTime(settings_, requestBytes) +
                                lineTime(settings_, wire::frameSize(wire::Direction::Reply,
                                                                    outcome.reply.payload.size()));
            download.turnaround = std::max(milliseconds(0), took - frames);
            return;
        }
        case DownloadText::Data:
            if (outcome.status == 4 && download.check.known()) {
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

Link::Outcome Link::streamedData(char address, Peer& peer, const std::string& bytes) {
    DownloadStream& download = peer.download;
    if (!download.window.active()) {
        const auto frameTime =
            lineTime(settings_, wire::frameSize(wire::Direction::Request, wire::kMaxPayload));
        download.epoch = static_cast<uint8_t>(download.epoch + 1);
        // A frame is answered only once its own line time has passed, and a
        // terminal may take a few frames in one go before it answers them:
        // the window covers six frame times beyond the turnaround.
        const auto cover = download.turnaround + 6 * frameTime;
        download.window.start(download.epoch, static_cast<uint32_t>(download.check.length()),
                              UploadWindow::sizeFor(cover.count(), frameTime.count()));
        downloadStreaming_ = address;
        port_->discardInput();
        decoder_.clear();
        trace::note("download window of " + std::to_string(download.window.size()) + " frames");
    }
    download.check.add(bytes);
    download.window.queue(bytes);
    if (!pumpDownload(address, peer, false)) return resultOnly(*download.failure);
    download.streamedLast = true;
    return resultOnly(4);
}

void Link::endStream(Peer& peer) {
    peer.download.window.stop();
    if (downloadStreaming_ && &peers_[static_cast<uint8_t>(*downloadStreaming_)] == &peer) {
        downloadStreaming_.reset();
    }
}

bool Link::settleDownload(char address, Peer& peer) {
    if (!peer.download.window.active()) return true;
    const bool settled = pumpDownload(address, peer, true);
    endStream(peer);
    return settled;
}

bool Link::streamFailed(Peer& peer, uint8_t status) {
    peer.download.failure = status;
    endStream(peer);
    return false;
}

bool Link::pumpDownload(char address, Peer& peer, bool untilSettled) {
    DownloadWindow& window = peer.download.window;
    if (untilSettled) window.flush();
    const auto frameTime =
        lineTime(settings_, wire::frameSize(wire::Direction::Request, wire::kMaxPayload));
    int setbacks = 0;
    uint8_t cause = kResultTimeOut;
    for (;;) {
        if (!port_) return streamFailed(peer, kResultLineFailure);
        while (const DownloadWindow::Frame* frame = window.nextToSend()) {
            wire::Request data;
            data.command = wire::Command::StreamData;
            data.address = address;
            data.payload = wire::encodeStreamData(window.epoch(), frame->offset, frame->bytes);
            const auto encoded = wire::requestFrame(data, frame->serial);
            window.markSent();
            if (!encoded || !sendFrame(*encoded)) return streamFailed(peer, kResultLineFailure);
        }
        StreamNews news;
        if (!takeDownloadReplies(address, peer, 0, news)) return false;
        if (untilSettled ? window.settled() : !window.framesWaiting()) return true;
        if (news.advanced) setbacks = 0;
        if (window.nextToSend() != nullptr) continue;
        const auto deadline = Clock::now() + answerAllowance_ + peer.download.turnaround +
                              (window.size() + 1) * frameTime;
        while (!news.advanced && !news.setback && Clock::now() < deadline) {
            if (!takeDownloadReplies(address, peer, millisecondsUntil(deadline), news))
                return false;
        }
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
        if (++setbacks > retransmissions_ + kExtraSetbacks) {
            trace::note("the terminal takes no more data: the stream failed");
            return streamFailed(peer, cause);
        }
    }
}

bool Link::takeDownloadReplies(char address, Peer& peer, int waitMs, StreamNews& news) {
    DownloadWindow& window = peer.download.window;
    uint8_t buffer[512];
    for (int wait = waitMs;; wait = 0) {
        std::size_t received = 0;
        const auto status = port_->read(buffer, sizeof buffer, wait, received);
        if (status == platform::ReadStatus::Failed) {
            lineFailed("cannot read");
            return streamFailed(peer, kResultLineFailure);
        }
        if (status != platform::ReadStatus::Data) return true;
        decoder_.feed(buffer, received);
        while (auto event = decoder_.next()) {
            const wire::Frame& frame = event->frame;
            if (frame.direction != wire::Direction::Reply ||
                frame.address != static_cast<uint8_t>(address) ||
                frame.command != static_cast<uint8_t>(wire::Command::StreamData)) {
                continue;
            }
            if (event->kind == wire::FrameDecoder::Kind::Damaged) {
                trace::note("damaged data acknowledgement skipped");
                continue;
            }
            trace::frame('<', wire::encodeFrame(frame));
            const uint32_t before = window.acknowledged();
            const auto held = wire::decodeStreamHeld(frame.payload);
            if (frame.status == kResultNak) {
                window.goBackTo(static_cast<uint8_t>(frame.tag & wire::kSerialMask));
                news.setback = true;
                continue;
            }
            if (!held || held->epoch != window.epoch()) continue;  // stray, or from an older stream
            if (frame.status != wire::kStreamHeld && frame.status != wire::kStreamMissing) {
                trace::note("the terminal refused the data (" + std::to_string(frame.status) + ")");
                return streamFailed(peer, frame.status);
            }
            if (!window.held(held->epoch, held->stored)) continue;  // not a length it can hold
            if (window.acknowledged() != before) news.advanced = true;
            if (frame.status == wire::kStreamMissing) {
                window.goBack();
                news.setback = true;
            }
        }
    }
}

}  // namespace pendra
