#include "beat_streamer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cmath>

namespace quibra::sim {
namespace {

using SteadyClock = std::chrono::steady_clock;

// 11 bits per byte at 9600 baud.
constexpr std::chrono::nanoseconds kByteTime{11'000'000'000LL / 9600};
constexpr uint8_t kFrameMark = 0x50;

int32_t Rounded(double v) {
  return static_cast<int32_t>(v + 0.5);
}

// The missed-beat correction as a receiver applies it, given the last stored interval.
void Store(std::vector<int32_t>& out, int32_t& last, int32_t x, bool correct) {
  const double p = last;
  auto push = [&](int32_t v) {
    out.push_back(v);
    last = v;
  };
  const bool twice = x > 1.8 * p && x < 2.2 * p;
  const bool thrice = !twice && x > 2.7 * p && x < 3.3 * p;
  if (!correct || (!twice && !thrice)) {
    push(x);
  } else if (twice) {
    const int32_t h = Rounded(x / 2.0);
    push(h - 3);
    push(h + 3);
  } else {
    const int32_t t = Rounded(x / 3.0);
    push(t - 2);
    push(t + 3);
    push(t - 1);
  }
}

}  // namespace

int32_t TicksOfInterval(int32_t ms) {
  return static_cast<int32_t>((int64_t{ms} * 1024 + 999) / 1000);
}

uint8_t BeatFrameCrc(const uint8_t* bytes, size_t count) {
  uint8_t reg = 0;
  for (size_t i = 0; i < count; ++i) {
    for (int bit = 7; bit >= 0; --bit) {
      const bool top = (reg & 0x80) != 0;
      reg = static_cast<uint8_t>((reg << 1) | ((bytes[i] >> bit) & 1));
      if (top) reg ^= 0x87;
    }
  }
  return reg;
}

BeatScript& BeatScript::steady(int beats, int32_t interval_ms) {
  for (int i = 0; i < beats; ++i)
    steps.push_back({BeatStep::Beat, interval_ms});
  return *this;
}

BeatScript& BeatScript::ramp(int beats, int32_t from_ms, int32_t to_ms) {
  for (int i = 0; i < beats; ++i) {
    const double f = beats > 1 ? double(i) / (beats - 1) : 1.0;
    steps.push_back({BeatStep::Beat, Rounded(from_ms + (to_ms - from_ms) * f)});
  }
  return *this;
}

BeatScript& BeatScript::then(BeatStep step, int32_t ms) {
  steps.push_back({step, ms});
  return *this;
}

int64_t BeatScript::length_ms() const {
  int64_t total = 0;
  for (const ScriptStep& s : steps)
    total += s.ms;
  return total;
}

std::vector<int32_t> BeatScript::expected(bool correct_missed) const {
  std::vector<int32_t> out;
  bool first = true;
  bool lost = false;
  int64_t ticks = 0;  // since the last frame received
  int32_t last = 0;
  for (const ScriptStep& s : steps) {
    ticks += TicksOfInterval(s.ms);
    if (s.step == BeatStep::Dropped || s.step == BeatStep::Corrupted) lost = true;
    if (s.step != BeatStep::Beat) continue;
    if (!first && !lost) Store(out, last, static_cast<int32_t>(ticks * 1000 / 1024), correct_missed);
    first = false;
    lost = false;
    ticks = 0;
  }
  return out;
}

int BeatScript::lost_frames() const {
  int n = 0;
  for (const ScriptStep& s : steps)
    n += (s.step == BeatStep::Dropped || s.step == BeatStep::Corrupted) ? 1 : 0;
  return n;
}

BeatStreamer::BeatStreamer(double scale, bool paced) : scale_(scale > 0 ? scale : 1.0), paced_(paced) {}

BeatStreamer::~BeatStreamer() {
  stop();
}

std::string BeatStreamer::start() {
  std::array<char, 128> name{};
  if (master_ >= 0 || openpty(&master_, &slave_, name.data(), nullptr, nullptr) != 0) return {};
  termios raw{};
  if (tcgetattr(slave_, &raw) == 0) {
    cfmakeraw(&raw);
    tcsetattr(slave_, TCSANOW, &raw);
  }
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  fcntl(slave_, F_SETFD, FD_CLOEXEC);
  return name.data();
}

void BeatStreamer::play(BeatScript script) {
  if (thread_.joinable() || master_ < 0) return;
  stop_requested_ = false;
  thread_ = std::thread([this, s = std::move(script)]() mutable { run(std::move(s)); });
}

void BeatStreamer::wait() {
  if (thread_.joinable()) thread_.join();
}

void BeatStreamer::stop() {
  stop_requested_ = true;
  wait();
  if (master_ >= 0) close(master_);
  if (slave_ >= 0) close(slave_);
  master_ = slave_ = -1;
}

void BeatStreamer::write_frame(const uint8_t* frame) {
  for (int i = 0; i < 4 && !stop_requested_;) {
    const size_t count = paced_ ? 1 : static_cast<size_t>(4 - i);
    const ssize_t n = ::write(master_, frame + i, count);
    if (n > 0) {
      i += static_cast<int>(n);
      if (paced_) std::this_thread::sleep_for(kByteTime);
      continue;
    }
    // The line is full (the library is not reading): wait for room.
    pollfd p{master_, POLLOUT, 0};
    poll(&p, 1, 5);
  }
  ++frames_sent_;
}

void BeatStreamer::run(BeatScript script) {
  auto due = SteadyClock::now();
  uint16_t stamp = 0;
  uint8_t sequence = 0;
  for (const ScriptStep& s : script.steps) {
    if (stop_requested_) return;
    stamp = static_cast<uint16_t>(stamp + TicksOfInterval(s.ms));
    due += std::chrono::duration_cast<SteadyClock::duration>(
        std::chrono::duration<double, std::milli>(s.ms * scale_));
    std::this_thread::sleep_until(due);
    if (s.step == BeatStep::Missed || s.step == BeatStep::Silence) continue;
    uint8_t frame[4] = {static_cast<uint8_t>(kFrameMark | sequence),
                        static_cast<uint8_t>(stamp & 0xFF), static_cast<uint8_t>(stamp >> 8), 0};
    sequence = static_cast<uint8_t>((sequence + 1) & 0x0F);
    frame[3] = BeatFrameCrc(frame, 4);
    if (s.step == BeatStep::Dropped) continue;
    if (s.step == BeatStep::Corrupted) frame[3] ^= 0x01;
    write_frame(frame);
  }
}

}  // namespace quibra::sim
