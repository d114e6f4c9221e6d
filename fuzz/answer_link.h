// A unit that answers from the fuzz input, standing behind the transfer calls in place of the
// engine: every message sent takes the input's next piece (pieces.h) as the unit's answer and
// stores it the way the engine stores an answer that passed its checks, in the serial form (the
// 0x5C first) or the IrDA short form (the code first); an identification answer must then name
// a known unit, as the engine demands. A file download takes one piece per packet, each checked,
// stored and acknowledged as the engine does, until the last packet. Once the pieces have run
// out the unit stays silent, so the callers' failure paths are fuzzed too. No thread, no port,
// no pause.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "frame/module.h"
#include "fuzz/pieces.h"
#include "protocol/engine.h"
#include "protocol/file_packets.h"
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
    if (IsFileDownload(message)) {
      status_ = take_packets(message, param);
      return 1;
    }
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

  static bool IsFileDownload(int32_t id) {
    return id == protocol::msg::kExerciseMemory || id == protocol::msg::kListen ||
           id == protocol::msg::kSingleFile;
  }

  // The packets of a file download, from the engine's state after the queue call. A serial
  // packet is checked where the engine checks it while it arrives: its header at byte 6 and at
  // byte 12. Returns the download's final status.
  int32_t take_packets(int32_t id, int32_t param) {
    Module& m = module();
    m.statuses.clear_all();
    m.engine.message = id;
    m.engine.param = param;
    for (auto& c : m.engine.counters)
      c = 0;
    m.exercise_memory.allocate();
    m.file_packets.begin(id);
    const uint8_t* packet = nullptr;
    size_t length = 0;
    while (answers_.next(packet, length)) {
      int32_t status = 0;
      if (irda_) {
        const auto n = static_cast<int>(std::min<size_t>(length, protocol::kIrdaAnswerBytes - 1));
        status = m.file_packets.store_irda_packet(id, packet, n);
      } else {
        const auto n = static_cast<int>(std::min<size_t>(length, protocol::kReceiveBufferSize));
        if ((n >= 6 && !m.file_packets.check_header(id, packet, 6)) ||
            (n >= 12 && !m.file_packets.check_header(id, packet, 12))) {
          continue;
        }
        status = m.file_packets.store_packet(id, packet, n);
      }
      if (status != 0) m.statuses.set(id, status);
      m.file_packets.continue_download(id);
      if (status == protocol::kStatusCompleted) return status;
    }
    return protocol::kStatusNoAnswer;
  }
  int32_t progress() override { return 0; }
  void cancel() override {}

 private:
  Pieces answers_;
  bool irda_ = false;
  int32_t status_ = protocol::kStatusNoAnswer;
};

}  // namespace quibra::fuzz
