// Writes a seed corpus for the settings read-back target: every read-back against a simulated
// unit of every type the simulator models, over both links, recorded as the target's input
// (settings_readbacks.h), so the fuzzer starts from answers that unpack into real settings.
// Usage: settings_readback_seeds DIRECTORY
#include <cstdint>

#include "frame/lifecycle.h"
#include "frame/module.h"
#include "frame/state_flags.h"
#include "fuzz/recording_link.h"
#include "fuzz/seed_writer.h"
#include "fuzz/settings_readbacks.h"
#include "fuzz/still_clock.h"
#include "fuzz/unit_types.h"
#include "platform/registry.h"
#include "transfer/engine_link.h"

namespace {

quibra::fuzz::StillClock g_clock;

void Seeds(quibra::fuzz::SeedWriter& dir) {
  quibra::frame::LoadModule();
  quibra::platform::set_clock(&g_clock);
  constexpr uint8_t kArgument = 1;
  for (uint8_t r = 0; r < quibra::fuzz::kReadBacks.size(); ++r) {
    for (const int32_t type : quibra::fuzz::kUnitTypes) {
      if (!quibra::sim::Unit::SupportsType(type)) continue;
      for (const bool irda : {false, true}) {
        quibra::sim::Unit unit(type, 1);
        quibra::fuzz::RecordingLink link(unit, irda);
        quibra::transfer::set_transfer_link(&link);
        auto& m = quibra::module();
        m.unit.type = type;
        m.unit.variant = 1;
        quibra::frame::SetStateFlag(quibra::frame::kFlagIrdaSockets, irda ? 1 : 0);
        CommParams params{};
        params.Size = sizeof params;
        params.LinkType = 1;
        params.MonitorType = type;
        quibra::fuzz::kReadBacks[r].run(params, type, kArgument);
        quibra::transfer::set_transfer_link(nullptr);
        const uint8_t form = 1 | (irda ? quibra::fuzz::kIrdaForm : 0);
        dir.write({r, quibra::fuzz::UnitTypeIndex(type), form, kArgument}, link.answers);
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  return quibra::fuzz::SeedMain(argc, argv, Seeds);
}
