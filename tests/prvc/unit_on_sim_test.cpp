// Identification, health checks, direct memory and the memory dump against the simulated unit:
// every product code of the map over a pty (support/prvc_unit.h).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "frame/module.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "prvc/unit_memory.h"
#include "quibra/quibra.h"
#include "support/comm_params.h"
#include "support/module_fixture.h"
#include "support/prvc_unit.h"
#include "support/recorded_boxes.h"
#include "ui/message_box.h"
#include "unit.h"
#include "support/test_folder.h"

namespace quibra::testing {
namespace {

using Bytes = std::vector<uint8_t>;

class UnitOnSimTest : public PrvcUnitTest {
 protected:
  UnitOnSimTest() : PrvcUnitTest(0.02) {}

  sim::Unit& attach(int32_t type, int32_t variant, int32_t code) {
    return *(unit_ = &line_.attach(type, variant, code));
  }
  sim::Unit& attach(int32_t type) { return attach(type, 0, sim::DefaultProductCode(type)); }

  void configure(int32_t files, uint32_t used) {
    sim::Identification id = unit_->identification();
    id.files = files;
    id.used_memory = used;
    unit_->set_identification(id);
  }

  size_t count(int32_t id) const { return line_.count(id); }

  sim::Unit* unit_ = nullptr;
};

TEST_F(UnitOnSimTest, EveryProductCodeIdentifies) {
  // Variant 3, 7 files, 1000 bytes used. Memory sizes by type; the older small units correct
  // the free memory by -6 from variant 3 on. Six codes name types that the engine does not
  // recognise in an identification answer: the read fails, but the stored answer unpacks.
  struct Expect {
    int32_t code, type, size, correction;
    bool engine_knows;
  };
  const Expect expected[] = {
      {17, 11, 15912, -6, true},  {18, 11, 15912, -6, true},  {51, 13, 31864, 0, true},
      {52, 13, 31864, 0, true},   {53, 13, 31864, 0, true},   {19, 22, 32036, 0, true},
      {38, 22, 32036, 0, true},   {68, 15, 15912, -6, true},  {69, 15, 15912, -6, true},
      {25, 25, 0, 0, false},      {85, 20, 23772, 0, true},   {26, 26, 0, 0, false},
      {102, 21, 23772, 0, true},  {30, 30, 0, 0, false},      {148, 27, 0, 0, true},
      {31, 31, 0, 0, false},      {164, 33, 114637, 0, true}, {32, 32, 0, 0, false},
      {163, 32, 0, 0, false},     {166, 35, 114637, 0, true}, {34, 12, 32190, 0, true},
      {35, 12, 32190, 0, true},   {36, 12, 32190, 0, true},   {167, 34, 229274, 0, true},
      {37, 23, 32250, 0, true},   {172, 36, 114637, 0, true}, {173, 37, 114637, 0, true},
      {174, 38, 229274, 0, true},
  };
  for (const Expect& e : expected) {
    SCOPED_TRACE(e.code);
    attach(e.type, 3, e.code);
    configure(7, 1000);
    CommParams p = LinkParams();
    MonitorInfo info{};
    info.MonitorInUse = -1;
    if (e.engine_knows) {
      ASSERT_EQ(fnQuibra_ReadMonitorInfo(&p, &info), 1);
    } else {
      ASSERT_EQ(fnQuibra_ReadMonitorInfo(&p, &info), 0);
      ASSERT_EQ(fnQuibra_UnPackMonitorInfo(&info), 1);
    }
    EXPECT_EQ(info.Size, 40u);
    EXPECT_EQ(info.MonitorInUse, e.type);
    EXPECT_EQ(info.MonitorSubModel, static_cast<uint32_t>(e.code));
    EXPECT_EQ(info.DataVersion, 3u);
    EXPECT_EQ(info.TotalFiles, e.type == 27 ? 0u : 7u);
    EXPECT_EQ(info.TotalMemoryInBytes, static_cast<uint32_t>(e.size));
    EXPECT_EQ(info.FreeMemoryInBytes, e.size == 0 ? 0 : e.size - 1000 + e.correction);
    EXPECT_EQ(info.LowBattery, 0u);
    EXPECT_EQ(m().unit.type.load(), e.type);
    EXPECT_EQ(m().unit.variant.load(), 3);
    // The running and cycling units of group A get their memory state checked after the
    // identification: the simulator's blank memory is repaired.
    const bool checked = e.type == 33 || e.type == 35 || e.type == 36 || e.type == 37;
    EXPECT_EQ(p.MonitorType, checked ? e.type : 0);
    if (e.type >= 33) {
      EXPECT_EQ(unit_->memory(0, 6),
                checked ? (Bytes{0x10, 0x00, 0x01, 0x00, 0x00, 0x07}) : Bytes(6, 0));
    }
    EXPECT_EQ(info.N4SensorMissing, e.type == 37 ? 1u : 0u);  // no stride sensor paired
  }
}

// The state bits and horse mode of these units are checked against hand-laid identifications.
TEST_F(UnitOnSimTest, NewerUnitsFreeMemoryAndMemoryMap) {
  sim::Unit& vc4 = attach(38, 5, 174);
  sim::Identification id = vc4.identification();
  id.used_memory = 300000;  // more than the unit holds: no free memory
  id.base = 0x012345;
  id.area(sim::Area::Bike) = 4000;
  id.area(sim::Area::Display) = 5000;
  vc4.set_identification(id);
  CommParams p = LinkParams();
  MonitorInfo info{};
  info.MonitorInUse = -1;
  ASSERT_EQ(fnQuibra_ReadMonitorInfo(&p, &info), 1);
  EXPECT_EQ(info.FreeMemoryInBytes, 0);
  const prvc::UnitMemoryMap& map = m().memory_map;
  EXPECT_EQ(map.base, 0x012345);
  EXPECT_EQ(map.exercise_area1, 0x012345 - 4140);
  EXPECT_EQ(map.settings_area, 4000);
  EXPECT_EQ(map.bike_area, 4000 + 89);
  EXPECT_EQ(map.display_area, 5000);
  EXPECT_EQ(map.sensor_area, 340);  // the simulator's default
}

TEST_F(UnitOnSimTest, StateCheckAndPairedSensorsFromTheUnitsMemory) {
  sim::Unit& pr9 = attach(37);
  CommParams p = LinkParams(1, 37);
  // 3999 in BCD with the mark: sound, nothing written.
  ASSERT_TRUE(pr9.set_memory(0, Bytes{0x99, 0x39, 0xEE, 0x0A, 0x42, 0x55}));
  EXPECT_EQ(fnQuibra_EEPROMStateCheckFix(&p), 0);
  EXPECT_EQ(pr9.memory(0, 6), (Bytes{0x99, 0x39, 0xEE, 0x0A, 0x42, 0x55}));
  EXPECT_EQ(count(9089), 0u);
  // 4000, or a nibble above 9: repaired, keeping byte 4.
  for (const Bytes& unsound :
       {Bytes{0x00, 0x40, 0xEE, 0x0A, 0x42, 0x55}, Bytes{0x0A, 0x12, 0xEE, 0x0A, 0x43, 0x55},
        Bytes{0x00, 0x12, 0xEE, 0x0B, 0x44, 0x55}}) {
    ASSERT_TRUE(pr9.set_memory(0, unsound));
    EXPECT_EQ(fnQuibra_EEPROMStateCheckFix(&p), 1);
    EXPECT_EQ(pr9.memory(0, 6), (Bytes{0x10, 0x00, 0x01, 0x00, unsound[4], 0x07}));
  }
  // The write went out in the PR9's own command: opcode 0xAD, 0, flag 0, address 0.
  const auto log = pr9.requests();
  EXPECT_EQ(log.back().id, 9089);
  EXPECT_EQ(log.back().payload,
            (Bytes{0xAD, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x01, 0x00, 0x44, 0x07}));

  // The stride slots at 349: 0xF00000 is no sensor.
  ASSERT_TRUE(pr9.set_memory(349, Bytes{0x00, 0x00, 0xF0}));
  EXPECT_EQ(fnQuibra_N4Sensor(&p), 0);
  ASSERT_TRUE(pr9.set_memory(355, Bytes{0x56, 0x34, 0x12}));
  EXPECT_EQ(fnQuibra_N4Sensor(&p), 1);
  MonitorInfo info{};
  info.MonitorInUse = -1;
  ASSERT_EQ(fnQuibra_ReadMonitorInfo(&p, &info), 1);
  EXPECT_EQ(info.N4SensorMissing, 0u);

  // A PR9W with slots 0, 2 (0xF00000: not paired), 4 and 9; slot k at 346 + 3k.
  sim::Unit& pr9w = attach(38);
  ASSERT_TRUE(pr9w.set_memory(346, Bytes{0x01, 0x00, 0x00}));
  ASSERT_TRUE(pr9w.set_memory(352, Bytes{0x00, 0x00, 0xF0}));
  ASSERT_TRUE(pr9w.set_memory(358, Bytes{0x00, 0x02, 0x00}));
  ASSERT_TRUE(pr9w.set_memory(373, Bytes{0x00, 0x00, 0x03}));
  int32_t flags[6] = {7, 7, 7, 7, 7, 7};
  CommParams p38 = LinkParams(1, 38);
  ASSERT_EQ(fnQuibra_Sensors_PRVCZ(&p38, flags), 1);
  EXPECT_EQ(Bytes(flags, flags + 6), (Bytes{1, 0, 1, 0, 1, 0}));
  // The same memory read as a VC8Z's: slot 2 counts (any nonzero), flag 1 stays the caller's.
  int32_t vc8z[6] = {7, 7, 7, 7, 7, 7};
  CommParams p34 = LinkParams(1, 34);
  ASSERT_EQ(fnQuibra_Sensors_PRVCZ(&p34, vc8z), 1);
  EXPECT_EQ(Bytes(vc8z, vc8z + 6), (Bytes{1, 7, 0, 1, 0, 1}));
  // The older units keep no sensor slots: the caller's flags stay as they were.
  int32_t untouched[6] = {7, 7, 7, 7, 7, 7};
  CommParams p22 = LinkParams(1, 22);
  ASSERT_EQ(fnQuibra_Sensors_PRVCZ(&p22, untouched), 1);
  EXPECT_EQ(Bytes(untouched, untouched + 6), Bytes(6, 7));
  pr9w.queue_fault(sim::Fault{sim::FaultKind::NoAnswer, 9090, true});
  EXPECT_EQ(fnQuibra_Sensors_PRVCZ(&p38, flags), 0);
}

TEST_F(UnitOnSimTest, DirectWriteHeldAndReadBack) {
  sim::Unit& pr6 = attach(36);
  CommParams p = LinkParams(1, 36);
  const Bytes data = {1, 2, 3, 4, 5};
  ASSERT_TRUE(prvc::WriteUnitMemory(p, 36, 0x1F000, data));
  EXPECT_EQ(pr6.memory(0x1F000, 5), data);
  EXPECT_EQ(pr6.requests().back().payload,
            (Bytes{0xAC, 0x00, 0x00, 0x00, 0xF0, 0x01, 0x00, 1, 2, 3, 4, 5}));
  Bytes read(5, 0);
  ASSERT_TRUE(prvc::ReadUnitMemory(p, 0x1F000, 0, read, 0));
  EXPECT_EQ(read, data);
  EXPECT_EQ(pr6.requests().back().payload, (Bytes{0x00, 0x00, 0xF0, 0x01, 0x00, 0x05, 0x00}));
  // The second bank is apart; another type's write command is refused.
  ASSERT_TRUE(pr6.set_memory(0x1F000, Bytes{9, 8}, 1));
  Bytes second(2, 0);
  ASSERT_TRUE(prvc::ReadUnitMemory(p, 0x1F000, 1, second, 0));
  EXPECT_EQ(second, (Bytes{9, 8}));
  ASSERT_TRUE(prvc::WriteUnitMemory(p, 33, 0x1F000, Bytes{0xEE}));
  EXPECT_EQ(pr6.memory(0x1F000, 1), Bytes{1});
}

TEST_F(UnitOnSimTest, ServiceValuesGoStraightIntoTheUnitsMemory) {
  RecordedBoxes boxes;
  ui::set_message_box_host(&boxes);
  sim::Unit& pr6 = attach(36);
  // Time correction -250: magnitude in BCD, then the sign, at address 0; contrast 9 at 5.
  EXPECT_EQ(fnQuibra_SetTimeCorrectionValueEx(1, -250, 36, 0, 0), 1);
  EXPECT_EQ(pr6.memory(0, 3), (Bytes{0x50, 0x02, 0x00}));
  EXPECT_EQ(fnQuibra_SetLCDContrastEx(1, 9, 36, 0), 1);
  EXPECT_EQ(pr6.memory(5, 1), Bytes{9});
  const uint8_t factory[] = {0xA1, 0xB2, 0xC3, 0xD4};
  EXPECT_EQ(fnQuibra_WriteFactoryEEPROMDataPRVCeq(factory, 4, 36), 1);
  EXPECT_EQ(pr6.memory(0, 4), Bytes(factory, factory + 4));
  EXPECT_EQ(pr6.requests().back().payload,
            (Bytes{0xAC, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xA1, 0xB2, 0xC3, 0xD4}));
  using Box = std::pair<std::string, std::string>;
  EXPECT_EQ(boxes.shown, (std::vector<Box>{
                             {"Success!", "fnQuibra_SetTimeCorrectionValueEx"},
                             {"Success!", "fnQuibra_SetLCDContrastEx"},
                             {"Success!", "fnQuibra_WriteFactoryEEPROMDataPRVCeq"},
                         }));
  ui::set_message_box_host(nullptr);
}

TEST_F(UnitOnSimTest, MemoryDumpMatchesTheUnitLineByLine) {
  sim::Unit& pr6 = attach(36, 2, 172);
  configure(3, 5000);
  Bytes pattern(static_cast<size_t>(pr6.memory_size()));
  for (size_t i = 0; i < pattern.size(); ++i)
    pattern[i] = static_cast<uint8_t>(i * 31 + (i >> 9));
  ASSERT_TRUE(pr6.set_memory(0, pattern));
  const std::string path = TestFolder() + "/dump.txt";
  ASSERT_EQ(fnQuibra_SavePRVCFileMemory(0, path.c_str()), 1);
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(path.c_str());

  std::string expected =
      "//MonitorInUse = 36\r\n//MonitorSubModel = 172\r\n//DataVersion = 2\r\n"
      "//TotalFiles = 3\r\n//FreeMemoryInBytes = 109637\r\n//LowBattery = 0\r\n"
      "//TotalMemoryInBytes = 114637\r\n//HorseMode = 0\r\n";
  // The state check repaired the first bytes before the dump read them.
  const Bytes memory = pr6.memory(0, pr6.memory_size());
  EXPECT_EQ(Bytes(memory.begin(), memory.begin() + 6),
            (Bytes{0x10, 0x00, 0x01, 0x00, pattern[4], 0x07}));
  char cell[24];
  for (size_t line = 0; line < memory.size(); line += 16) {
    std::snprintf(cell, sizeof cell, "%06zx", line);
    expected += cell;
    for (size_t i = line; i < line + 16; ++i) {
      std::snprintf(cell, sizeof cell, " %02x", memory[i]);
      expected += cell;
    }
    expected += "\r\n";
  }
  EXPECT_TRUE(text == expected) << "the dump differs from the unit's memory";
  EXPECT_EQ(count(9090), 1u + 357u);  // the state check's read, then 357 reads of 368
}

}  // namespace
}  // namespace quibra::testing
