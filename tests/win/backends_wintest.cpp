// The win32 backends of the platform seam, called for real: the clock against the C runtime's
// clock, temporary files, the link-library loader with the simulated OrvekKelvo.dll, and the
// failure paths of the serial port and of the IrDA sockets (wine, like current Windows, has no
// IrDA stack).
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "kelvo/orvek_kelvo.h"
#include "platform/byte_port.h"
#include "platform/clock.h"
#include "platform/irda_sockets.h"
#include "platform/link_library.h"
#include "platform/temp_files.h"
#include "quibra/quibra.h"

namespace quibra::testing {
namespace {

namespace fs = std::filesystem;
using namespace quibra::platform;

TEST(Win32Backends, ClockAgreesWithTheRuntimeAndSleeps) {
  Clock& clock = system_clock();
  const std::time_t now = std::time(nullptr);
  const std::tm* runtime = std::localtime(&now);
  const LocalDateTime local = clock.local_now();
  // Two clocks read a moment apart: only a change of day between them could part the dates.
  EXPECT_EQ(local.year, runtime->tm_year + 1900);
  EXPECT_EQ(local.month, runtime->tm_mon + 1);
  EXPECT_EQ(local.day, runtime->tm_mday);
  EXPECT_EQ(local.weekday, runtime->tm_wday);

  const uint32_t tick = clock.tick_ms();
  const uint64_t counter = clock.performance_counter();
  clock.sleep_ms(60);
  const uint32_t slept = clock.tick_ms() - tick;
  EXPECT_GE(slept, 40u);
  EXPECT_LT(slept, 2000u);
  ASSERT_GT(clock.performance_frequency(), 0u);
  const double seconds = static_cast<double>(clock.performance_counter() - counter) /
                         static_cast<double>(clock.performance_frequency());
  EXPECT_GT(seconds, 0.04);
  EXPECT_LT(seconds, 2.0);
}

TEST(Win32Backends, TempFilesAreNewEmptyAndUnique) {
  const auto first = system_temp_files().create_unique("qbr");
  const auto second = system_temp_files().create_unique("qbr");
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  for (const fs::path& path : {fs::path(*first), fs::path(*second)}) {
    EXPECT_TRUE(fs::is_regular_file(path)) << path;
    EXPECT_EQ(fs::file_size(path), 0u) << path;
    EXPECT_EQ(path.filename().string().rfind("qbr", 0), 0u) << path;
    EXPECT_EQ(path.extension(), ".tmp") << path;
    fs::remove(path);
  }
}

TEST(Win32Backends, LinkLibraryResolvesTheSimulatedDllByOrdinal) {
  namespace kelvo = sim::kelvo;
  auto link = make_system_link_library();
  ASSERT_TRUE(link->load()) << "OrvekKelvo.dll beside the test program";
  EXPECT_TRUE(link->load());  // loaded once
  EXPECT_EQ(link->open(1, kelvo::kDeviceId), kelvo::kOpenResult);
  int32_t slots[32] = {};
  EXPECT_EQ(link->list_devices(slots), 1);
  EXPECT_EQ(static_cast<uint32_t>(slots[0]), kelvo::kDeviceId);
  EXPECT_EQ(link->relax(0, 0), 1);
  uint8_t packet[kLinkPacketBufferBytes] = {};
  EXPECT_EQ(link->packet(static_cast<int32_t>(kelvo::kDeviceId) + 1, packet), kelvo::kNoLink);
  link->close();
  EXPECT_EQ(link->relax(0, 0), 0);
  EXPECT_EQ(link->packet(static_cast<int32_t>(kelvo::kDeviceId), packet), kelvo::kNoLink);
}

TEST(Win32Backends, IrdaSocketsReportTheMissingAddressFamily) {
  auto irda = make_system_irda_sockets();
  ASSERT_EQ(irda->startup(), 0);
  int32_t handle = -1;
  EXPECT_EQ(irda->open_stream(handle), kIrdaAddressFamilyUnsupported);
  EXPECT_EQ(handle, 0);
  // A handle that was never a socket is refused by every call, and closing it is harmless.
  const int32_t not_a_socket = 0x7FF0;
  std::vector<IrdaDevice> devices;
  EXPECT_EQ(irda->enumerate(not_a_socket, devices), kIrdaNotSocket);
  EXPECT_TRUE(devices.empty());
  EXPECT_EQ(irda->connect(not_a_socket, 1, "HRM"), kIrdaNotSocket);
  const uint8_t byte = 0;
  EXPECT_EQ(irda->send(not_a_socket, &byte, 1), kIrdaNotSocket);
  uint8_t buffer[8];
  EXPECT_EQ(irda->receive(not_a_socket, buffer, sizeof buffer).error, kIrdaNotSocket);
  irda->close(not_a_socket);
  irda->cleanup();
  // Through the library: the sockets transport cannot start, and says why.
  EXPECT_EQ(fnQuibra_StartIRCommunication(0x20, "IRDA"), 0);
  EXPECT_EQ(fnQuibra_OrvekIrDADeviceAvailable(1, 0), kIrdaAddressFamilyUnsupported);
}

TEST(Win32Backends, SerialPortThatIsNotThereIsRefused) {
  auto port = make_system_byte_port();
  EXPECT_EQ(port->open_serial("COM199"), 0);
  EXPECT_FALSE(port->write(reinterpret_cast<const uint8_t*>("x"), 1));
  port->close();
  EXPECT_EQ(fnQuibra_StartIRCommunication(0, "COM199"), 0);
}

}  // namespace
}  // namespace quibra::testing
