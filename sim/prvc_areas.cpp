#include "prvc_areas.h"

#include <array>
#include <span>
#include <vector>

#include "prvc_gear_areas.h"
#include "prvc_training_areas.h"
#include "unit.h"

namespace quibra::sim {
namespace {

// The value bytes of each entry of a type's totals area, in the order the unit keeps them;
// every entry is followed by its two date bytes.
struct TotalsLayout {
  int32_t type;
  std::span<const uint8_t> values;
};
constexpr uint8_t kTotals33[] = {4, 4, 2, 4, 4, 4, 3, 4, 4, 4};
constexpr uint8_t kTotals34[] = {4, 4, 2, 4, 4, 4, 3, 4, 4, 4, 4, 4, 4};
constexpr uint8_t kTotals35[] = {4, 4, 2, 4, 4, 4, 3, 4, 4, 4, 4, 4};
constexpr uint8_t kTotals36[] = {4, 4, 2, 4, 4, 4};
constexpr uint8_t kTotals37[] = {4, 4, 2, 4, 4, 4, 3};
constexpr uint8_t kTotals38[] = {4, 4, 2, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 4};
constexpr std::array<TotalsLayout, 6> kTotalsLayouts = {{
    {33, kTotals33},
    {34, kTotals34},
    {35, kTotals35},
    {36, kTotals36},
    {37, kTotals37},
    {38, kTotals38},
}};

struct StateByte {
  int32_t type;
  int32_t min_variant;
  int32_t max_variant;
  int32_t address;
};
constexpr StateByte kStateBytes[] = {
    {36, 0, 15, 55606}, {37, 6, 15, 55629}, {35, 5, 15, 55658}, {33, 3, 15, 55612},
    {34, 0, 15, 55629}, {38, 0, 2, 55629},  {38, 3, 15, 58694},
};
constexpr uint8_t kFactoryState = 1;
constexpr uint8_t kPR9WSwitchesOn = 0xFF;
constexpr uint8_t kOtherSwitchesOn = 0x3F;

const TotalsLayout* TotalsOf(int32_t type) {
  for (const TotalsLayout& layout : kTotalsLayouts) {
    if (layout.type == type) return &layout;
  }
  return nullptr;
}

}  // namespace

int32_t TotalsAreaBytes(int32_t type) {
  const TotalsLayout* layout = TotalsOf(type);
  if (layout == nullptr) return 0;
  int32_t bytes = 0;
  for (const uint8_t value_bytes : layout->values)
    bytes += value_bytes + 2;
  return bytes;
}

std::optional<int32_t> StateByteAddress(int32_t type, int32_t variant) {
  for (const StateByte& s : kStateBytes) {
    if (s.type == type && variant >= s.min_variant && variant <= s.max_variant) return s.address;
  }
  return std::nullopt;
}

void LayFactoryAreas(Unit& unit) {
  LayTrainingAreas(unit);
  const TotalsLayout* layout = TotalsOf(unit.type());
  if (layout == nullptr) return;
  Identification id = unit.identification();
  std::vector<uint8_t> totals;
  for (const uint8_t value_bytes : layout->values) {
    totals.insert(totals.end(), value_bytes, 0);
    totals.insert(totals.end(), std::begin(kFactoryDateBytes), std::end(kFactoryDateBytes));
  }
  unit.set_memory(id.area(Area::Totals), totals);
  const int32_t display = id.area(Area::Display);
  if (unit.type() == 38) {
    const uint8_t switches[] = {kPR9WSwitchesOn, kPR9WSwitchesOn};
    unit.set_memory(display + kPR9WDisplayOffset, switches);
  } else {
    const uint8_t switches[] = {kOtherSwitchesOn};
    unit.set_memory(display + kOtherSwitchOffset, switches);
  }
  if (const std::optional<int32_t> state = StateByteAddress(unit.type(), unit.variant())) {
    const uint8_t byte[] = {kFactoryState};
    unit.set_memory(*state, byte, 1);
  }
  LayFactoryGear(unit);
}

}  // namespace quibra::sim
