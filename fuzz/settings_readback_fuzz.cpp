// Feeds arbitrary unit answers to every settings read-back (input format in
// settings_readbacks.h): the read exports of the settings groups, the logos, the service
// values and usage counters, the unit information and the memory checks of the newer units,
// each with the answers of any unit type in the serial or the IrDA form. Whatever the unit
// answers, nothing may be read or written outside the images and the caller's records.
#include <cstddef>
#include <cstdint>

#include "frame/lifecycle.h"
#include "frame/module.h"
#include "frame/state_flags.h"
#include "fuzz/answer_link.h"
#include "fuzz/settings_readbacks.h"
#include "fuzz/still_clock.h"
#include "fuzz/unit_types.h"
#include "platform/registry.h"
#include "transfer/engine_link.h"

namespace {

quibra::fuzz::StillClock g_clock;
quibra::fuzz::AnswerLink g_link;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quibra::frame::LoadModule();
  quibra::platform::set_clock(&g_clock);
  quibra::transfer::set_transfer_link(&g_link);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kHead = 4;
  if (size < kHead) return 0;
  const auto& read_back = quibra::fuzz::kReadBacks[data[0] % quibra::fuzz::kReadBacks.size()];
  const int32_t type = quibra::fuzz::UnitTypeOf(data[1]);
  const bool irda = (data[2] & quibra::fuzz::kIrdaForm) != 0;
  auto& m = quibra::module();
  m.unit.type = type;
  m.unit.variant = data[2] & 0x0F;
  quibra::frame::SetStateFlag(quibra::frame::kFlagIrdaSockets, irda ? 1 : 0);
  g_link.reset(quibra::fuzz::Pieces(data + kHead, size - kHead), irda);
  CommParams params{};
  params.Size = sizeof params;
  params.LinkType = 1;
  params.MonitorType = type;
  read_back.run(params, type, data[3]);
  return 0;
}
