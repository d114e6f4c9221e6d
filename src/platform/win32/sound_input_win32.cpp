// win32 backend of sound in: the wave mapper records into two blocks queued in turn; the driver
// signals an auto-reset event whenever a block is full.
#include <windows.h>
// (kept apart so that include sorting leaves the order alone)
#include <mmsystem.h>

#include <cstring>

#include "platform/sound_input.h"

namespace quibra::platform {
namespace {

class Win32SoundInput final : public SoundInput {
 public:
  ~Win32SoundInput() override { close(); }

  bool has_device() override { return waveInGetNumDevs() != 0; }

  OpenResult open(int32_t sample_rate) override {
    close();
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = static_cast<DWORD>(sample_rate);
    format.nAvgBytesPerSec = static_cast<DWORD>(sample_rate);
    format.nBlockAlign = 1;
    format.wBitsPerSample = 8;
    format.cbSize = 0;
    if (waveInOpen(nullptr, WAVE_MAPPER, &format, 0, 0, WAVE_FORMAT_QUERY) != MMSYSERR_NOERROR)
      return OpenResult::kUnsupported;
    event_ = CreateEventA(nullptr, FALSE, FALSE, "WaveInEvent");
    if (event_ == nullptr) return OpenResult::kFailed;
    const MMRESULT opened = waveInOpen(&device_, WAVE_MAPPER, &format,
                                       reinterpret_cast<DWORD_PTR>(event_), 0, CALLBACK_EVENT);
    if (opened != MMSYSERR_NOERROR) {
      device_ = nullptr;
      close();
      return opened == MMSYSERR_ALLOCATED ? OpenResult::kBusy : OpenResult::kFailed;
    }
    bool ok = waveInReset(device_) == MMSYSERR_NOERROR;
    for (int k = 0; ok && k < 2; ++k)
      ok = queue(k);
    ok = ok && waveInStart(device_) == MMSYSERR_NOERROR;
    if (!ok) {
      close();
      return OpenResult::kFailed;
    }
    current_ = 0;
    return OpenResult::kRecording;
  }

  ReadResult read(uint8_t* samples, size_t count, uint32_t timeout_ms) override {
    if (device_ == nullptr || count > kCaptureBlockSamples) return ReadResult::kFailed;
    const DWORD started = GetTickCount();
    WAVEHDR& header = headers_[current_];
    while ((header.dwFlags & WHDR_DONE) == 0) {
      const DWORD waited = GetTickCount() - started;
      if (waited >= timeout_ms) return ReadResult::kTimeout;
      if (WaitForSingleObject(event_, timeout_ms - waited) == WAIT_TIMEOUT)
        return ReadResult::kTimeout;
    }
    const size_t recorded = header.dwBytesRecorded < count ? header.dwBytesRecorded : count;
    std::memcpy(samples, blocks_[current_], recorded);
    std::memset(samples + recorded, 128, count - recorded);
    const int finished = current_;
    current_ ^= 1;
    if (waveInUnprepareHeader(device_, &header, sizeof header) != MMSYSERR_NOERROR ||
        !queue(finished))
      return ReadResult::kFailed;
    return ReadResult::kBlock;
  }

  void close() override {
    if (device_ != nullptr) {
      waveInReset(device_);
      for (WAVEHDR& header : headers_)
        if (header.dwFlags & WHDR_PREPARED) waveInUnprepareHeader(device_, &header, sizeof header);
      waveInClose(device_);
    }
    device_ = nullptr;
    if (event_ != nullptr) CloseHandle(event_);
    event_ = nullptr;
  }

 private:
  bool queue(int k) {
    WAVEHDR& header = headers_[k];
    std::memset(&header, 0, sizeof header);
    header.lpData = reinterpret_cast<LPSTR>(blocks_[k]);
    header.dwBufferLength = kCaptureBlockSamples;
    return waveInPrepareHeader(device_, &header, sizeof header) == MMSYSERR_NOERROR &&
           waveInAddBuffer(device_, &header, sizeof header) == MMSYSERR_NOERROR;
  }

  HWAVEIN device_ = nullptr;
  HANDLE event_ = nullptr;
  WAVEHDR headers_[2] = {};
  uint8_t blocks_[2][kCaptureBlockSamples] = {};
  int current_ = 0;
};

}  // namespace

std::unique_ptr<SoundInput> make_system_sound_input() {
  return std::make_unique<Win32SoundInput>();
}

}  // namespace quibra::platform
