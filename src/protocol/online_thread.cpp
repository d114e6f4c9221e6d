#include "protocol/online_thread.h"

#include <mutex>
#include <optional>

#include "frame/module.h"
#include "frame/state_flags.h"
#include "platform/registry.h"
#include "protocol/engine.h"
#include "protocol/link_port.h"
#include "protocol/wireless_link.h"

namespace quibra::protocol {
namespace {

using frame::GetStateFlag;
using frame::SetStateFlag;

constexpr uint32_t kPassMs = 100;
constexpr uint32_t kSettleMs = 200;
// A serial adapter is read a byte per call. A pass reads what has come since the last one, but
// no more than this, so a line that never falls silent cannot hold the pass up.
constexpr int kSerialBytesPerPass = 64;
// Link type 10 delivers heart rates; the interval is 60000 / rate.
constexpr int32_t kLinkTypeRates = 10;
constexpr int32_t kMsPerMinute = 60000;
constexpr uint8_t kNoLink = 0xFF;
constexpr uint8_t kNoLinkAlt = 0xFE;
constexpr int kMaxEntries = 10;
constexpr int kEntryBytes = 4;

bool Flag(frame::StateFlag f) {
  return GetStateFlag(f) != 0;
}

// The flags the thread acts on are read under ConnectionLock, so that a pause or stop request
// is seen whole by one pass.
bool ConnectionFlag(frame::StateFlag f) {
  std::lock_guard guard(module().locks.ConnectionLock);
  return Flag(f);
}

// The silence between data: one sample when it starts and one more when it grows long, rather
// than one per pass, which would bury the beats in the ring.
class SilenceTimer {
 public:
  void data() { running_ = false; }
  // The kind of sample to store for a pass without data, if any.
  std::optional<int32_t> quiet(uint32_t now) {
    if (!running_) {
      running_ = true;
      start_ = now;
      long_told_ = false;
      return kSampleShortSilence;
    }
    if (!long_told_ && now - start_ >= kLongSilenceMs) {
      long_told_ = true;
      return kSampleLongSilence;
    }
    return std::nullopt;
  }

 private:
  bool running_ = false;
  bool long_told_ = false;
  uint32_t start_ = 0;
};

struct Pass {
  OnlineReceiver& rx;
  OnlineSamples& samples;
  Engine& engine;
  SilenceTimer silence;
  BeatFrameParser parser;
  int32_t pass_start_ms = 0;  // the recording clock at the start of this pass
  bool recorded = false;      // not paused during this pass

  // Advances the recording clock unless paused.
  void tick() {
    platform::Clock& clock = platform::clock();
    recorded = !ConnectionFlag(frame::kFlagOnlinePaused);
    const uint64_t now = clock.performance_counter();
    const uint64_t base = rx.clock_base.exchange(now);
    pass_start_ms = rx.clock_ms;
    const uint64_t frequency = rx.frequency;
    if (recorded && frequency != 0 && now > base) {
      rx.clock_ms += static_cast<int32_t>((now - base) * 1000 / frequency);
    }
  }

  void quiet() {
    if (const auto kind = silence.quiet(platform::clock().tick_ms())) {
      samples.no_data(rx.clock_ms, *kind);
    }
  }

  void bytes(const uint8_t* data, size_t count) {
    silence.data();
    for (size_t i = 0; i < count; ++i) {
      const auto beat = parser.take(data[i]);
      // An interval across lost frames spans several beats: it is counted, not stored.
      if (beat && !beat->after_gap) samples.beat(rx.clock_ms, recorded, beat->interval_ms);
    }
    engine.errors[0] = parser.check_failures();
    engine.errors[1] = parser.sequence_gaps();
  }

  // One pass on a serial or USB adapter.
  void byte_link(bool usb) {
    uint8_t buffer[kUsbChunk];
    size_t got = 0;
    if (usb) {
      const platform::PortReadResult r = ReadPort(buffer, sizeof buffer);
      if (!r.ok) return fail();
      got = r.count;
    } else {
      while (got < kSerialBytesPerPass) {
        const platform::PortReadResult r = ReadPort(buffer + got, 1);
        if (!r.ok) return fail();
        if (r.count == 0) break;
        ++got;
      }
    }
    if (got == 0) {
      quiet();
    } else {
      bytes(buffer, got);
    }
  }

  void fail() {
    SetStateFlag(frame::kFlagStopRequest, 1);
    SetStateFlag(frame::kFlagPortReadFailed, 1);
  }

  // One pass on the wireless link: the packet call of the link type for the device. Entries
  // are 4 bytes: the beat's offset in ms from the previous call, then its value (link type 1:
  // the interval in ms; link type 10: the heart rate), both 16-bit, low byte first.
  void wireless(int32_t device) {
    uint8_t packet[platform::kLinkPacketBufferBytes] = {};
    const uint8_t count = LinkPacket(device, packet, module().wireless.link_type == kLinkTypeRates);
    if (count == 0) return quiet();
    silence.data();
    if (count > kMaxEntries) {
      samples.no_data(rx.clock_ms, count);
      // The device is gone: the recording ends here, as if the application had ended it.
      if (count == kNoLink || count == kNoLinkAlt) SetStateFlag(frame::kFlagStopRequest, 1);
      return;
    }
    const bool rates = module().wireless.link_type == kLinkTypeRates;
    for (int i = 0; i < count; ++i) {
      const uint8_t* entry = packet + i * kEntryBytes;
      const int32_t offset = entry[0] | (entry[1] << 8);
      const int32_t value = entry[2] | (entry[3] << 8);
      // A rate of 0 carries no interval.
      const int32_t interval = rates ? (value > 0 ? kMsPerMinute / value : 0) : value;
      if (interval > 0) samples.beat(pass_start_ms + offset, recorded, interval);
    }
  }
};

void OnlineThread() {
  Module& mod = module();
  OnlineReceiver& rx = mod.online_receiver;
  Engine& engine = mod.engine;
  platform::Clock& clock = platform::clock();
  const bool wireless = Flag(frame::kFlagWirelessAdapter);
  const bool usb = Flag(frame::kFlagUsbAdapter) || Flag(frame::kFlagUsbDriverKit);
  if (!wireless) {
    // What the line held before the recording is not part of it.
    PurgePort();
    clock.sleep_ms(kSettleMs);
    PurgePort();
  }
  rx.frequency = clock.performance_frequency();
  Pass pass{rx, *rx.samples, engine, {}, {}};
  if (rx.frequency != 0) {
    rx.clock_base = clock.performance_counter();
    bool stop = false;
    while (!stop) {
      const bool on_air = ConnectionFlag(frame::kFlagWirelessOpened);
      int32_t device = 0;
      bool registered = true;
      if (wireless) {
        std::lock_guard guard(mod.locks.DeviceRegistryLock);
        device = mod.wireless.registered_device;
        registered = mod.wireless.has_device;
      }
      if (registered) {
        pass.tick();
        // The wireless link is polled while it is open; a byte link is read.
        if (wireless) {
          if (on_air) pass.wireless(device);
        } else {
          pass.byte_link(usb);
        }
      }
      clock.sleep_ms(kPassMs);
      stop = ConnectionFlag(frame::kFlagStopRequest);
    }
  } else {
    // Without a counter there is no recording clock: the thread only waits to be ended.
    while (!ConnectionFlag(frame::kFlagStopRequest))
      clock.sleep_ms(kPassMs);
  }
  rx.samples->finish();
  {
    std::lock_guard guard(mod.locks.ThreadStopLock);
    SetStateFlag(frame::kFlagPortHeld, 0);
  }
  if (!wireless) ClosePort();
  SetStateFlag(frame::kFlagEngineRunning, 0);
}

}  // namespace

void StartOnlineThread() {
  Module& mod = module();
  Engine& e = mod.engine;
  if (Flag(frame::kFlagEngineRunning) || mod.online_receiver.samples == nullptr) return;
  if (e.thread.joinable()) e.thread.join();
  {
    std::lock_guard guard(mod.locks.ThreadStopLock);
    SetStateFlag(frame::kFlagEngineRunning, 1);
    SetStateFlag(frame::kFlagOnlinePaused, 1);
    SetStateFlag(frame::kFlagPortHeld, 1);
  }
  for (auto& c : e.errors)
    c = 0;
  mod.online_receiver.clock_ms = 0;
  // Done here rather than on the thread, so that a resume the application asks for right
  // after the start finds the recording ready and is not undone by the thread.
  if (Flag(frame::kFlagWirelessAdapter)) {
    mod.online_receiver.samples->prepare();
  } else {
    mod.online_receiver.samples->reset();
  }
  e.thread = std::thread(OnlineThread);
}

void RestartRecordingClock() {
  OnlineReceiver& rx = module().online_receiver;
  rx.clock_base = platform::clock().performance_counter();
  rx.clock_ms = 0;
}

}  // namespace quibra::protocol
