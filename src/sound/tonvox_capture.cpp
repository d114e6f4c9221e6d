#include "sound/tonvox_capture.h"

#include <new>

#include "platform/registry.h"

namespace quibra::sound {
namespace {

// A block that does not complete within this time ends the capture loop.
constexpr uint32_t kBlockTimeoutMs = 2000;
// End lets the device settle before it is closed.
constexpr uint32_t kEndSettleMs = 500;

int32_t open_failure(platform::SoundInput::OpenResult result) {
  using Open = platform::SoundInput::OpenResult;
  switch (result) {
    case Open::kBusy:
      return kTonvoxDeviceBusy;
    case Open::kUnsupported:
      return kTonvoxFormatUnsupported;
    default:
      return kTonvoxDeviceFailed;
  }
}

}  // namespace

int32_t TonvoxCapture::start(int32_t monitor_type, int32_t gain_level, int32_t sample_rate,
                             bool debug_dump, bool ignore_errors) {
  end(false);  // the caller should have ended the last reception; end it for them
  std::lock_guard<std::mutex> guard(control_);
  platform::SoundInput& input = platform::sound_input();
  if (!input.has_device()) return kTonvoxNoSoundCard;
  capture_area_.reset(new (std::nothrow) uint8_t[platform::kCaptureBlockSamples]);
  if (!capture_area_) return kTonvoxOutOfMemory;

  stop_requested_ = false;
  timed_out_ = false;
  data_error_ = false;
  dumping_ = debug_dump;
  if (dumping_) {
    samples_dump_.create("Samples.dat");
    filter_dump_.create("FilterOut.dat");
    normalized_dump_.create("NormalizedOut.dat");  // stays empty
    sigma_dump_.create("SigmaOut.dat");
  }
  const int32_t rate = ReceptionSampleRate(sample_rate);
  const platform::SoundInput::OpenResult opened = input.open(rate);
  if (opened != platform::SoundInput::OpenResult::kRecording) {
    input.close();
    capture_area_.reset();
    close_dumps();
    return open_failure(opened);
  }
  input_ = &input;
  {
    std::lock_guard<std::mutex> chain(chain_lock_);
    receiver_.start(platform::clock(), monitor_type, rate, gain_level, ignore_errors, debug_dump);
  }
  progress_ = 0;
  level_ = 0;
  ended_ = false;
  thread_ = std::thread(&TonvoxCapture::capture, this);
  return kTonvoxStarted;
}

void TonvoxCapture::capture() {
  uint8_t* block = capture_area_.get();
  const size_t count = platform::kCaptureBlockSamples;
  while (!stop_requested_ && !data_error_ && !timed_out_ && !ended_) {
    if (input_->read(block, count, kBlockTimeoutMs) != platform::SoundInput::ReadResult::kBlock) {
      stop_requested_ = true;
      break;
    }
    if (dumping_) {
      // Once as the device delivered it and once as the thread's copy, as the dump has always
      // held each block twice.
      samples_dump_.write(block, count);
      samples_dump_.write(block, count);
    }
    receiver_.filter(block, count);
    if (dumping_) filter_dump_.write(block, count);
    {
      std::lock_guard<std::mutex> chain(chain_lock_);
      const TonvoxReceiver::Step step = receiver_.receive(block, count);
      if (step == TonvoxReceiver::Step::kSilent) {
        timed_out_ = true;
      } else {
        level_ = receiver_.level();
        // A refused block's bytes count as received, so its figure could claim a complete
        // transfer: only a block that was taken moves the figure.
        if (step == TonvoxReceiver::Step::kRejected) {
          data_error_ = true;
        } else {
          progress_ = static_cast<int32_t>(receiver_.progress());
        }
      }
    }
    if (dumping_) {
      const auto& ring = receiver_.demodulator().energy_ring();
      sigma_dump_.write_u32(ring.data(), ring.size());
    }
  }
}

int32_t TonvoxCapture::progress() const {
  if (data_error_) return kTonvoxDataError;
  if (timed_out_) return kTonvoxSilent;
  return progress_;
}

void TonvoxCapture::end(bool force) {
  std::lock_guard<std::mutex> guard(control_);
  if (ended_ && !force) return;
  if (thread_.joinable()) {
    stop_requested_ = true;
    thread_.join();  // a read never blocks longer than the block time-out
    platform::clock().sleep_ms(kEndSettleMs);
  }
  if (input_ != nullptr) input_->close();
  input_ = nullptr;
  capture_area_.reset();
  close_dumps();
  ended_ = true;
}

void TonvoxCapture::close_dumps() {
  samples_dump_.close();
  filter_dump_.close();
  normalized_dump_.close();
  sigma_dump_.close();
  receiver_.close_dumps();
}

}  // namespace quibra::sound
