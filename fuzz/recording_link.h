// For the seed writers: a link to a simulated unit that hands each request to the unit in the
// serial or the IrDA short form, records the unit's answer as a piece of a fuzz input, and
// stores it exactly as AnswerLink (answer_link.h) stores the same piece in the target. A seed is
// then a real conversation that the target replays.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "fuzz/answer_link.h"
#include "fuzz/seed_writer.h"
#include "protocol/catalogue.h"
#include "unit.h"

namespace quibra::fuzz {

class RecordingLink final : public ui::TransferLink {
 public:
  RecordingLink(sim::Unit& unit, bool irda) : unit_(unit), irda_(irda) {}

  // The answers given so far, as pieces.
  Bytes answers;

  int32_t send(int32_t message, int32_t param) override {
    Bytes answer;
    if (irda_) {
      uint8_t request[512];
      const auto n = static_cast<size_t>(
          std::clamp(protocol::GetMessageLength(message, param, protocol::kFieldIrdaSend), 0, 512));
      protocol::IrdaRequestBytes(message, param, request, n);
      answer = unit_.handle_short_form(std::span<const uint8_t>(request, n));
    } else {
      sim::RawRequest request;
      request.checksum_ok = true;
      const int32_t n = protocol::GetMessageLength(message, param, protocol::kFieldLength);
      for (int32_t i = 0; i < n; ++i)
        request.bytes.push_back(protocol::GetMessageByte(message, param, i));
      answer = unit_.handle(request);
    }
    Bytes piece;
    AppendPiece(piece, answer);
    answers.insert(answers.end(), piece.begin(), piece.end());
    store_.reset(Pieces(piece.data(), piece.size()), irda_);
    return store_.send(message, param);
  }
  int32_t status() override { return store_.status(); }
  int32_t progress() override { return 0; }
  void cancel() override {}

 private:
  sim::Unit& unit_;
  bool irda_;
  AnswerLink store_;
};

}  // namespace quibra::fuzz
