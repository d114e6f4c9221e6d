// The far end of a short-form line (a SerialLink with Framing::ShortFormBlocks): an IrDA stack
// in this process reaches, through it, a simulated unit that runs in another process. Each
// request goes out as one block and the unit's block comes back as the answer.
#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace quibra::sim {

class IrdaPtyPeer {
 public:
  // A unit that does not answer a block within this time is taken as silent.
  static constexpr int kAnswerTimeoutMs = 2000;

  // Opens the line's device path.
  explicit IrdaPtyPeer(const std::string& path);
  ~IrdaPtyPeer();
  IrdaPtyPeer(const IrdaPtyPeer&) = delete;
  IrdaPtyPeer& operator=(const IrdaPtyPeer&) = delete;

  bool ok() const { return fd_ >= 0; }
  // One request and its answer; empty when the unit does not answer or the line fails.
  std::vector<uint8_t> exchange(std::span<const uint8_t> request);
  // The IrDA device name the unit announces; empty when it does not answer.
  std::string device_name();

 private:
  bool write_all(const uint8_t* bytes, size_t count);
  bool read_exactly(uint8_t* bytes, size_t count);

  int fd_ = -1;
  std::mutex lock_;  // one exchange at a time
};

}  // namespace quibra::sim
