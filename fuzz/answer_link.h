// A unit that answers from the fuzz input, standing behind the transfer calls in place of the
// engine: every message sent takes the input's next piece (pieces.h) as the unit's answer and
// stores it the way the engine stores an answer that passed its checks, in the serial form (the
// 0x5C first) or the IrDA short form (the code first); an identification answer must then name
// a known unit, as the engine demands. Once the pieces have run out the unit stays silent, so
// the callers' failure paths are fuzzed too. No thread, no port, no pause.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz/pieces.h"
#include "protocol/engine.h"
#include "protocol/irda_link.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"
#include "protocol/message_status.h"
#include "ui/transfer_link.h"

namespace quibra::fuzz {

class AnswerLink final : public ui::TransferLink {
 public:
  void reset(Pieces answers, bool irda) {
    answers_ = answers;
    irda_ = irda;
    status_ = protocol::kStatusNoAnswer;
  }

  int32_t send(int32_t message, int32_t param) override {
    const uint8_t* answer = nullptr;
    size_t length = 0;
    if (!answers_.next(answer, length)) {
      status_ = protocol::kStatusNoAnswer;
      return 1;
    }
    // No answer is longer than the engine's receive buffers.
    if (irda_) {
      protocol::StoreIrdaAnswer(message, param, answer,
                                std::min<size_t>(length, protocol::kIrdaAnswerBytes - 1));
    } else {
      protocol::StoreSerialAnswer(message, param, answer,
                                  std::min<size_t>(length, protocol::kReceiveBufferSize));
    }
    const bool known = message != protocol::msg::kIdentify || protocol::RecogniseUnitType();
    status_ = known ? protocol::kStatusCompleted : protocol::kStatusNoAnswer;
    return 1;
  }
  int32_t status() override { return status_; }
  int32_t progress() override { return 0; }
  void cancel() override {}

 private:
  Pieces answers_;
  bool irda_ = false;
  int32_t status_ = protocol::kStatusNoAnswer;
};

}  // namespace quibra::fuzz
