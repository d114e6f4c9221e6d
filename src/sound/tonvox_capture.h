// The sound reception: the recording device opened for a unit's sound download and the capture
// thread that feeds each recorded block through the receiving chain, with the progress and level
// figures the application polls. There is one reception per process; the data it assembled stays
// after it has ended, until the next one starts.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/sound_input.h"
#include "sound/dump_file.h"
#include "sound/tonvox_receiver.h"

namespace quibra::sound {

// Start's results.
enum : int32_t {
  kTonvoxStarted = 0,
  kTonvoxNoSoundCard = -1,
  kTonvoxDeviceBusy = -2,
  kTonvoxFormatUnsupported = -3,
  kTonvoxDeviceFailed = -4,
  kTonvoxOutOfMemory = -9,
};
// Progress's and Level's refusals. The figures are published after each block, so a caller
// never waits for the capture thread; -7 and -8 remain the answers of an export that failed.
enum : int32_t {
  kTonvoxDataError = -5,
  kTonvoxSilent = -6,
  kTonvoxProgressBusy = -7,
  kTonvoxLevelBusy = -8,
};

class TonvoxCapture {
 public:
  TonvoxCapture() = default;
  TonvoxCapture(const TonvoxCapture&) = delete;
  TonvoxCapture& operator=(const TonvoxCapture&) = delete;
  ~TonvoxCapture() { end(true); }

  // Opens the recording device and starts the capture thread; one of the results above. A
  // reception that still runs is ended first.
  int32_t start(int32_t monitor_type, int32_t gain_level, int32_t sample_rate, bool debug_dump,
                bool ignore_errors);
  // Percent received as of the last block, or -5 (bad data), -6 (silence).
  int32_t progress() const;
  // The signal level in percent as of the last block.
  int32_t level() const { return level_; }
  // Stops the thread and releases the device, the capture area and the dump files. With force 0
  // nothing happens once the reception has ended.
  void end(bool force);

  // What the reception assembled: read it once the reception has ended, or under the chain
  // lock.
  const PacketAssembler& assembled() const { return receiver_.assembler(); }
  bool running() const { return thread_.joinable(); }
  std::mutex& chain_lock() { return chain_lock_; }

 private:
  void capture();
  void close_dumps();

  // Start and end, against each other. Lock order 2 (frame/locks.h): end holds it while the
  // capture thread ends.
  std::mutex control_;
  // The demodulator and the packet assembler, for one block's work or one copy of the
  // assembled data. Lock order 3 (frame/locks.h): taken under control by start.
  std::mutex chain_lock_;
  TonvoxReceiver receiver_;
  platform::SoundInput* input_ = nullptr;  // while the device is open
  std::unique_ptr<uint8_t[]> capture_area_;
  std::thread thread_;
  std::atomic<bool> stop_requested_{false};
  std::atomic<bool> data_error_{false};
  std::atomic<bool> timed_out_{false};
  std::atomic<bool> ended_{true};
  // Published by the capture thread after each block it took.
  std::atomic<int32_t> progress_{0};
  std::atomic<int32_t> level_{0};
  bool dumping_ = false;
  DumpFile samples_dump_, filter_dump_, normalized_dump_, sigma_dump_;
};

}  // namespace quibra::sound
