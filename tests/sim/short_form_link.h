// Test support: the transfer dialogs' link carried to a simulated unit in the short form, as the
// IrDA socket transport carries it. Each message goes out as the library builds its IrDA
// request, the unit's answer is stored as the library stores an IrDA answer, and an
// identification answer is recognised as the engine recognises it. The newer running and
// cycling units need this form: their identification is longer than a serial answer, and their
// direct memory commands longer than a serial request.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "protocol/catalogue.h"
#include "protocol/engine.h"
#include "protocol/message_image.h"
#include "ui/transfer_link.h"
#include "unit.h"

namespace quibra::testing {

class ShortFormLink final : public ui::TransferLink {
 public:
  explicit ShortFormLink(sim::Unit& unit) : unit_(unit) {}

  int32_t send(int32_t message, int32_t param) override {
    std::array<uint8_t, kMaxRequest> request{};
    const auto length = static_cast<size_t>(std::clamp(
        protocol::GetMessageLength(message, param, protocol::kFieldIrdaSend), 0, kMaxRequest));
    protocol::IrdaRequestBytes(message, param, request.data(), length);
    const std::vector<uint8_t> answer =
        unit_.handle_short_form(std::span<const uint8_t>(request.data(), length));
    const auto least = protocol::GetMessageLength(message, param, protocol::kFieldIrdaAnswer);
    if (answer.empty() || static_cast<int32_t>(answer.size()) < least) {
      status_ = kNoAnswer;
      return 1;
    }
    protocol::StoreIrdaAnswer(message, param, answer.data(), answer.size());
    status_ = message == 9021 && !protocol::RecogniseUnitType() ? kNoAnswer : kCompleted;
    return 1;
  }
  int32_t status() override { return status_; }
  int32_t progress() override { return 0; }
  void cancel() override {}
  void refresh_monitor_info(int32_t) override {}

 private:
  static constexpr int32_t kMaxRequest = 512;
  static constexpr int32_t kCompleted = 10;
  static constexpr int32_t kNoAnswer = 30;
  sim::Unit& unit_;
  int32_t status_ = 0;
};

}  // namespace quibra::testing
