// A scripted wrist unit on the far end of a pty: it reads request frames (0xA3, code, 0, length,
// payload, checksum) and answers each with whatever the test's script returns for it.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "frame/lifecycle.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "protocol/checksum.h"
#include "quibra/quibra.h"
#include "support/counting_clock.h"
#include "support/fault_port.h"
#include "support/module_fixture.h"
#include "support/pty_pair.h"

namespace quibra::testing {

using Bytes = std::vector<uint8_t>;

// An answer frame: 0x5C, code, 0, the length (index of the first checksum byte), the payload and
// the checksum that makes the whole frame check. (Built in one piece: an insert-based builder
// trips a compiler bounds warning on short constant payloads.)
inline Bytes AnswerFrame(uint8_t code, const Bytes& payload) {
  const size_t length = 5 + payload.size();
  Bytes frame(length + 2, 0);
  frame[0] = 0x5C;
  frame[1] = code;
  frame[3] = static_cast<uint8_t>(length >> 8);
  frame[4] = static_cast<uint8_t>(length & 0xFF);
  for (size_t i = 0; i < payload.size(); ++i)
    frame[5 + i] = payload[i];
  const uint16_t crc = protocol::Crc16Compute(frame.data(), frame.size());
  frame[length] = static_cast<uint8_t>(crc >> 8);
  frame[length + 1] = static_cast<uint8_t>(crc & 0xFF);
  return frame;
}

class FakeUnit {
 public:
  // The script gets the request frame and returns the bytes to send back (empty: stay silent).
  using Script = std::function<Bytes(const Bytes& request)>;

  // delay_ms: how long the unit takes before it answers (real time).
  FakeUnit(PtyPair& pty, Script script, int delay_ms = 15)
      : pty_(pty), script_(std::move(script)), delay_ms_(delay_ms) {
    thread_ = std::thread([this] { run(); });
  }
  ~FakeUnit() {
    stop_ = true;
    thread_.join();
  }

  std::vector<Bytes> requests() {
    std::lock_guard guard(lock_);
    return requests_;
  }
  size_t request_count() {
    std::lock_guard guard(lock_);
    return requests_.size();
  }
  // Waits up to timeout_ms (real time) for at least n requests.
  bool wait_for_requests(size_t n, int timeout_ms) {
    for (int waited = 0; waited < timeout_ms; waited += 2) {
      if (request_count() >= n) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return request_count() >= n;
  }

 private:
  void run() {
    Bytes pending;
    while (!stop_) {
      Bytes got = pty_.receive(5);
      pending.insert(pending.end(), got.begin(), got.end());
      // Frames are cut by their own length field.
      while (pending.size() >= 5) {
        const size_t total = static_cast<size_t>(pending[3]) * 256 + pending[4] + 2;
        if (pending.size() < total) break;
        Bytes request(pending.begin(), pending.begin() + static_cast<long>(total));
        pending.erase(pending.begin(), pending.begin() + static_cast<long>(total));
        {
          std::lock_guard guard(lock_);
          requests_.push_back(request);
        }
        Bytes answer = script_(request);
        if (!answer.empty()) {
          // A unit takes a moment to answer; the library purges its input just after writing.
          std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms_));
          pty_.send(answer);
        }
      }
    }
  }

  PtyPair& pty_;
  Script script_;
  int delay_ms_;
  std::atomic<bool> stop_{false};
  std::mutex lock_;
  std::vector<Bytes> requests_;
  std::thread thread_;
};

// Recoding off: requests go out as their plain images.
constexpr int32_t kPlainSerial = 0x01;

// The engine against a fake unit on a pty: the real port, thread and wire, with pauses a hundred
// times shorter (the clock counts the engine's 500 ms cycle pauses).
class FakeUnitTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    ASSERT_TRUE(pty_.ok());
    platform::set_clock(&counting_);
    port_.keep_output_on_purge = true;
    platform::set_byte_port(&port_);
  }
  void TearDown() override {
    unit_.reset();
    frame::UnloadModule();  // stops the thread while the fakes still stand
    platform::set_byte_port(nullptr);
    platform::set_clock(nullptr);
    ModuleTest::TearDown();
  }

  void start_unit(FakeUnit::Script script, int delay_ms = 15) {
    unit_ = std::make_unique<FakeUnit>(pty_, std::move(script), delay_ms);
  }
  bool start(int32_t options = kPlainSerial) {
    return fnQuibra_StartIRCommunication(options, pty_.slave_name().c_str()) == 1;
  }

  PtyPair pty_;
  platform::ScaledClock scaled_{0.01};
  CountingClock counting_{scaled_};
  FaultPort port_;
  std::unique_ptr<FakeUnit> unit_;
};

}  // namespace quibra::testing
