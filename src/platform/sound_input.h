// Sound in of the platform seam: the recording device a unit's sound download is captured from,
// 8-bit unsigned mono samples (128 is silence).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace quibra::platform {

// The samples the capture side asks for at a time: about 114 ms at 44 100 Hz.
inline constexpr size_t kCaptureBlockSamples = 5016;

// Contract: one recording at a time. has_device and open are called on the caller's thread,
// read on the capture thread only, close after the capture thread has ended. close is safe when
// nothing is open and may be called more than once.
class SoundInput {
 public:
  enum class OpenResult {
    kRecording,    // the device records
    kBusy,         // another program records on it
    kUnsupported,  // it cannot record 8-bit mono at this rate
    kFailed,       // any other failure
  };
  enum class ReadResult {
    kBlock,    // count samples were recorded
    kTimeout,  // the device delivered nothing within the time-out
    kFailed,   // the device failed; nothing more will come
  };
  virtual ~SoundInput() = default;
  // Whether the system has any recording device.
  virtual bool has_device() = 0;
  // Opens the default recording device for 8-bit mono at the rate and starts recording.
  virtual OpenResult open(int32_t sample_rate) = 0;
  // Blocks until count (at most kCaptureBlockSamples) samples have been recorded into samples,
  // at most timeout_ms.
  virtual ReadResult read(uint8_t* samples, size_t count, uint32_t timeout_ms) = 0;
  // Stops recording and releases the device.
  virtual void close() = 0;
};

// A new handle on the platform's recording device (ALSA on Linux, waveIn on Windows), not
// recording. Destroying it closes the device.
std::unique_ptr<SoundInput> make_system_sound_input();

}  // namespace quibra::platform
