#include "prvc_training_areas.h"

#include <array>

#include "codec/unit_families.h"
#include "unit.h"

namespace quibra::sim {
namespace {

// Offsets from the memory base: group A, group B.
struct BaseOffsets {
  int32_t exercise1;
  int32_t exercise2;
  int32_t weekly;
  int32_t daily;
};
constexpr BaseOffsets kGroupA = {-3770, -3240, 6804, 7308};
constexpr BaseOffsets kGroupB = {-4140, -3370, 7077, 7590};

const BaseOffsets& OffsetsOf(int32_t type) {
  return codec::FamilyOf(type) == codec::UnitFamily::GroupB ? kGroupB : kGroupA;
}

// A fresh unit: button sound on, laps every 1000 m (100 tens, low digit pair first), a record
// every 5 s (code 1); no sensor in use; contrast 4.
constexpr uint8_t kFactorySettings[] = {0x02, 0, 0, 0x00, 0x01, 1};
constexpr uint8_t kFactorySensors[] = {0};
constexpr uint8_t kFactoryContrast[] = {4};
// Exercise area 1: the name "-" (device code 0x48, marked as the end) then marked spaces, both
// timers off at 2:00, no zones; area 2: the three zones in beats per minute; area 3: recovery off
// at 100, weekly targets off.
constexpr uint8_t kFactoryExercise1[] = {0xC8, 0x8A, 0x8A, 0x8A, 0x8A, 0x8A, 0x8A, 0x8A,
                                         0x8A, 0x8A, 0,    0x00, 0x02, 0x00, 0x02, 0};
constexpr uint8_t kFactoryExercise2[] = {120, 140, 140, 160, 160, 180};
constexpr uint8_t kFactoryExercise3[] = {0, 100, 0};
// Sport zones of a type 30 unit: 50-60, 60-70, 70-80, 80-90 and 90-100 percent.
constexpr uint8_t kFactoryZones[] = {50, 60, 60, 70, 70, 80, 80, 90, 90, 100};
constexpr int32_t kZonesType = 30;

}  // namespace

int32_t SettingsAreaAddress(int32_t type, int32_t variant, int32_t bike_area) {
  int32_t address = bike_area;
  if (type == 33 || type == 35) address -= 21;
  if (type == 33) address -= 2;
  if (type == 35 && variant >= 4) address -= 2;
  if (type == 34) address -= 23;
  return address;
}

int32_t ExerciseArea1Address(int32_t type, int32_t base) {
  return base + OffsetsOf(type).exercise1;
}
int32_t ExerciseArea2Address(int32_t type, int32_t base) {
  return base + OffsetsOf(type).exercise2;
}
int32_t WeeklyTargetsAddress(int32_t type, int32_t base) {
  return base + OffsetsOf(type).weekly;
}
int32_t DailyTargetsAddress(int32_t type, int32_t base) {
  return base + OffsetsOf(type).daily;
}

void LayTrainingAreas(Unit& unit) {
  const int32_t type = unit.type();
  if (type == kZonesType) {
    unit.set_memory(kSportZonesAddress, kFactoryZones);
    return;
  }
  if (!codec::IsNewer(type)) return;
  Identification id = unit.identification();
  unit.set_memory(SettingsAreaAddress(type, unit.variant(), id.area(Area::Bike)), kFactorySettings);
  unit.set_memory(id.area(Area::Sensors), kFactorySensors);
  unit.set_memory(id.area(Area::Display), kFactoryContrast);
  unit.set_memory(ExerciseArea1Address(type, id.base), kFactoryExercise1);
  unit.set_memory(ExerciseArea2Address(type, id.base), kFactoryExercise2);
  unit.set_memory(id.area(Area::Exercise3), kFactoryExercise3);
}

}  // namespace quibra::sim
