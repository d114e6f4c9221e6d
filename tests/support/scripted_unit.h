// Test support: a scripted unit that stands behind the transfer dialogs in place of the engine.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "frame/module.h"
#include "protocol/message_image.h"
#include "ui/transfer_link.h"

namespace quibra::testing {

// A unit behind the transfer dialogs whose exchanges always complete: 9021 fills the
// identification bytes, 9090 copies memory into the scratch as the engine stores a read answer,
// 9089 stores the written bytes, 9007 keeps a written block and 9008 answers with it (block
// bytes from scratch index 7 written, from index 8 read back). Every message sent is logged.
class ScriptedUnit final : public ui::TransferLink {
 public:
  std::vector<std::vector<uint8_t>> identities;  // one per 9021 asked; the last repeats
  std::vector<uint8_t> memory = std::vector<uint8_t>(0x40000, 0);
  std::vector<std::pair<int32_t, int32_t>> sent;
  bool with_lead = false;
  bool answers = true;  // false: every exchange ends without an answer
  static constexpr int32_t kBlockBytes = 48;
  std::map<int32_t, std::array<uint8_t, kBlockBytes>> blocks;
  std::set<int32_t> stuck_blocks;  // blocks whose writes the unit acknowledges but ignores
  struct Write {
    int32_t address;
    std::vector<uint8_t> bytes;
  };
  std::vector<Write> writes;

  int32_t send(int32_t message, int32_t param) override {
    sent.emplace_back(message, param);
    protocol::Banks& banks = module().banks;
    if (message == 9021) {
      const auto& id = identities[std::min(asked_++, identities.size() - 1)];
      for (size_t i = 0; i < id.size(); ++i)
        protocol::SetMessageByte(9021, 1, static_cast<int32_t>(i), id[i]);
    } else if (message == 9090) {
      const int32_t address = Le32(banks, 6);
      const int32_t count = banks.scratch(10) | banks.scratch(11) << 8;
      // With a lead, the answer repeats the flag and the address before the data, as the unit
      // does: stored from scratch 0, the address lands at 1..4 and the data still at 5.
      if (with_lead) {
        banks.set_scratch(0, banks.scratch(5));
        for (int32_t i = 0; i < 4; ++i)
          banks.set_scratch(1 + i, static_cast<uint8_t>(address >> (8 * i)));
      }
      for (int32_t i = 0; i < count; ++i)
        banks.set_scratch(5 + i, memory[static_cast<size_t>(address + i) % memory.size()]);
    } else if (message == 9007 && stuck_blocks.count(param) == 0) {
      auto& block = blocks[param];
      for (int32_t i = 0; i < kBlockBytes; ++i)
        block[static_cast<size_t>(i)] = banks.scratch(7 + i);
    } else if (message == 9008) {
      const auto& block = blocks[param];
      for (int32_t i = 0; i < kBlockBytes; ++i)
        banks.set_scratch(8 + i, block[static_cast<size_t>(i)]);
    } else if (message == 9089) {
      Write w{Le32(banks, 8), {}};
      const int32_t count = module().raw_memory.send_length - 8;
      for (int32_t i = 0; i < count; ++i)
        w.bytes.push_back(banks.scratch(12 + i));
      writes.push_back(w);
    }
    return 1;
  }
  int32_t status() override { return answers ? 10 : 30; }
  int32_t progress() override { return 0; }
  void cancel() override {}

  size_t count(int32_t message) const {
    size_t n = 0;
    for (const auto& s : sent)
      n += s.first == message ? 1 : 0;
    return n;
  }

 private:
  static int32_t Le32(const protocol::Banks& banks, int32_t at) {
    return banks.scratch(at) | banks.scratch(at + 1) << 8 | banks.scratch(at + 2) << 16 |
           banks.scratch(at + 3) << 24;
  }
  size_t asked_ = 0;
};

}  // namespace quibra::testing
