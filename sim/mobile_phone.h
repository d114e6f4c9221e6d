// A mobile phone that holds an exercise memory and sends it to the library over infrared: it
// dials the IrCOMM service the library offers on an in-process IrDA stack, sends the memory in
// blocks, and waits for the library's one-byte acknowledgement. It runs on a thread of its own
// from start() until it has its answer, gives up, or is stopped.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace quibra::sim {

class IrdaStack;

inline constexpr const char* kIrcommService = "IrDA:IrCOMM";
// A phone sends at most this many bytes in one block.
inline constexpr size_t kPhoneBlockBytes = 250;

// What a phone holds for a unit of the type: the whole-memory image of one exercise, naming
// the unit by its type's own product code and closed by an empty exercise head (two zero bytes)
// that ends the chain. Empty for a type without a whole-memory layout here (only the outdoor
// and K-series units have one).
std::vector<uint8_t> PhoneMemory(int32_t type);

class MobilePhone {
 public:
  struct Options {
    size_t block_bytes = kPhoneBlockBytes;  // 1..250
    // After this many blocks (0: none) the phone stops sending: it hangs up, or with `hold`
    // keeps the line open, silent, until it is stopped.
    size_t stop_after = 0;
    bool hold = false;
  };

  MobilePhone(IrdaStack& stack, std::vector<uint8_t> memory, Options options);
  MobilePhone(IrdaStack& stack, std::vector<uint8_t> memory)
      : MobilePhone(stack, std::move(memory), Options{}) {}
  ~MobilePhone();  // stops
  MobilePhone(const MobilePhone&) = delete;
  MobilePhone& operator=(const MobilePhone&) = delete;

  // Starts dialling (every 10 ms until the service is there).
  void start();
  // Hangs up and waits for the thread.
  void stop();
  // Waits for a phone that got through to end by itself: it does once it has its answer or the
  // library closed its end of the link.
  void finish();

  // The acknowledgement the library sent, once it came.
  std::optional<uint8_t> acknowledgement() const;
  // Blocks sent so far.
  size_t blocks_sent() const { return blocks_; }
  // The phone is done: acknowledged, hung up, or refused by a broken link.
  bool done() const { return done_; }

 private:
  void run();

  IrdaStack& stack_;
  std::vector<uint8_t> memory_;
  Options options_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::atomic<int32_t> handle_{0};
  std::atomic<size_t> blocks_{0};
  std::atomic<int32_t> ack_{-1};
};

}  // namespace quibra::sim
