#include "sound/recorded_input.h"

#include <map>
#include <memory>
#include <mutex>

#include "frame/module.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "platform/wave_sound_input.h"

namespace quibra::sound {
namespace {

// The recording in force and the clocks that pace recordings, one per speed-up asked for. Never
// destroyed: library threads keep the clock they started with for their whole run, and a
// recording may stay installed until the process ends, after static objects are gone. A clock's
// scale is never changed, since that would make the tick count of a running pause jump.
struct Replay {
  std::mutex lock;
  std::unique_ptr<platform::WaveSoundInput> recording;
  std::map<int32_t, std::unique_ptr<platform::ScaledClock>> clocks;

  platform::ScaledClock& clock(int32_t speed_up) {
    std::unique_ptr<platform::ScaledClock>& c = clocks[speed_up];
    if (!c) c = std::make_unique<platform::ScaledClock>(1.0 / speed_up);
    return *c;
  }
};

Replay& replay() {
  static auto* r = new Replay;
  return *r;
}

}  // namespace

bool SetRecordedSoundInput(const char* path, int32_t speed_up) {
  const bool replaying = path != nullptr && path[0] != '\0';
  if (replaying && (speed_up < 1 || speed_up > kMaxReplaySpeedUp)) return false;
  std::unique_ptr<platform::WaveSoundInput> recording;
  if (replaying) {
    recording = platform::WaveSoundInput::FromFile(path);
    if (!recording) return false;
  }
  Replay& r = replay();
  std::lock_guard guard(r.lock);
  if (module().tonvox.running()) return false;
  if (!replaying) {
    platform::set_sound_input(nullptr);
    platform::set_clock(nullptr);
    r.recording.reset();
    return true;
  }
  platform::set_clock(speed_up == 1 ? nullptr : &r.clock(speed_up));
  platform::set_sound_input(recording.get());
  r.recording = std::move(recording);
  return true;
}

}  // namespace quibra::sound
