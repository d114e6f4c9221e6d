#include "mobile_phone.h"

#include <algorithm>
#include <chrono>
#include <span>

#include "generated_exercises.h"
#include "identification.h"
#include "irda_stack.h"

namespace quibra::sim {
namespace {

constexpr auto kDialPause = std::chrono::milliseconds(10);
// The empty exercise head that ends the chain.
constexpr size_t kChainEndBytes = 2;

}  // namespace

std::vector<uint8_t> PhoneMemory(int32_t type) {
  std::vector<uint8_t> image = GeneratedWholeMemory(type, DefaultProductCode(type), 1);
  if (!image.empty()) image.resize(image.size() + kChainEndBytes, 0);
  return image;
}

MobilePhone::MobilePhone(IrdaStack& stack, std::vector<uint8_t> memory, Options options)
    : stack_(stack), memory_(std::move(memory)), options_(options) {
  options_.block_bytes = std::clamp<size_t>(options_.block_bytes, 1, kPhoneBlockBytes);
}

MobilePhone::~MobilePhone() {
  stop();
}

void MobilePhone::start() {
  stop();
  stop_ = false;
  done_ = false;
  thread_ = std::thread([this] { run(); });
}

void MobilePhone::stop() {
  stop_ = true;
  // A receive waiting for the acknowledgement ends when the phone's socket goes.
  if (const int32_t h = handle_.exchange(0); h != 0) stack_.close_on(h);
  if (thread_.joinable()) thread_.join();
}

void MobilePhone::finish() {
  if (thread_.joinable()) thread_.join();
}

std::optional<uint8_t> MobilePhone::acknowledgement() const {
  const int32_t ack = ack_;
  if (ack < 0) return std::nullopt;
  return static_cast<uint8_t>(ack);
}

void MobilePhone::run() {
  int32_t handle = 0;
  while (!stop_ && stack_.dial(kIrcommService, handle) != 0) {
    std::this_thread::sleep_for(kDialPause);
  }
  if (stop_) {
    if (handle != 0) stack_.close_on(handle);
    done_ = true;
    return;
  }
  handle_ = handle;
  std::span<const uint8_t> rest(memory_);
  bool sent = true;
  while (!rest.empty() && !stop_) {
    if (options_.stop_after != 0 && blocks_ == options_.stop_after) {
      sent = false;
      while (options_.hold && !stop_)
        std::this_thread::sleep_for(kDialPause);
      break;
    }
    const size_t n = std::min(rest.size(), options_.block_bytes);
    if (stack_.send_on(handle, rest.first(n)) != 0) {
      sent = false;
      break;
    }
    rest = rest.subspan(n);
    ++blocks_;
  }
  if (sent && !stop_) {
    uint8_t answer = 0;
    int32_t received = 0;
    if (stack_.receive_on(handle, &answer, 1, received) == 0 && received == 1) ack_ = answer;
  }
  if (const int32_t h = handle_.exchange(0); h != 0) stack_.close_on(h);
  done_ = true;
}

}  // namespace quibra::sim
