// The far end of a short-form line (a SerialLink with Framing::ShortFormBlocks): an IrDA stack
// in this process reaches, through it, a simulated unit that runs in another process. Each
// request goes out in a link frame (irda_frame.h) and the unit's frame comes back as the answer;
// an answer frame that fails its check is dropped, as the link drops it, and counts as no answer.
#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace quibra::sim {

class IrdaPtyPeer {
 public:
  // A unit that does not answer a frame within this time is taken as silent.
  static constexpr int kAnswerTimeoutMs = 2000;

  // Opens the line's device path.
  explicit IrdaPtyPeer(const std::string& path);
  ~IrdaPtyPeer();
  IrdaPtyPeer(const IrdaPtyPeer&) = delete;
  IrdaPtyPeer& operator=(const IrdaPtyPeer&) = delete;

  bool ok() const { return fd_ >= 0; }
  // One request and its answer; empty when the unit does not answer, its frame was dropped or
  // the line fails.
  std::vector<uint8_t> exchange(std::span<const uint8_t> request);
  // The IrDA device name the unit announces; empty when it does not answer.
  std::string device_name();
  // Answer frames dropped for a failed check so far.
  int dropped_frames();

 private:
  bool write_all(std::span<const uint8_t> bytes);
  // Throws away what the line holds: a late answer to an earlier request.
  void drain();

  int fd_ = -1;
  int dropped_ = 0;
  std::mutex lock_;  // one exchange at a time
};

}  // namespace quibra::sim
