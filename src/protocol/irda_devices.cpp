// Which wrist units announce themselves to the IrDA stack, and under which names.
#include <algorithm>
#include <cstring>
#include <vector>

#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/irda_link.h"

namespace quibra::protocol {
namespace {

struct KnownDevice {
  const char* name;
  int32_t type;  // the unit type reported in mode 1
};

constexpr KnownDevice kKnownDevices[] = {
    {"Orvek K50e", 11},  {"Orvek K55T", 22},  {"Orvek K60e", 12}, {"Orvek K61e", 12},
    {"Orvek K65", 23},   {"Orvek K65T", 22},  {"Orvek K70e", 13}, {"Orvek TRK 2", 20},
    {"Orvek TRK 3", 21}, {"Orvek TRK2", 20},  {"Orvek TRK3", 21}, {"Orvek PR6", 36},
    {"Orvek PR9", 37},   {"Orvek VC6", 33},   {"Orvek VC8", 35},  {"Reserved", 1000},
};

constexpr int32_t kModeType = 1;
// Mode 0 answers whether a known unit is in range. The name that mode 1 reports as 1000 gives
// 1000 in mode 0 as well, and every unit name 1: one code per name, whatever the mode.
constexpr int32_t kKnownUnit = 1;
constexpr int32_t kReservedType = 1000;
constexpr int32_t kNoKnownDevice = -1;
constexpr uint32_t kAfterCloseMs = 100;

const KnownDevice* Find(const std::string& name) {
  const auto* it = std::find_if(std::begin(kKnownDevices), std::end(kKnownDevices),
                                [&](const KnownDevice& d) { return name == d.name; });
  return it == std::end(kKnownDevices) ? nullptr : it;
}

}  // namespace

int32_t OrvekIrDADeviceAvailable(int32_t mode, int32_t /*reserved*/) {
  platform::IrdaSockets& sockets = platform::irda_sockets();
  if (const int32_t error = sockets.startup(); error != 0) return error;
  // The search has its own socket: a conversation's connected socket is left alone.
  int32_t s = 0;
  if (const int32_t error = sockets.open_stream(s); error != 0) {
    sockets.cleanup();
    return error;
  }
  std::vector<platform::IrdaDevice> devices;
  int32_t result = 0;
  if (sockets.enumerate(s, devices) == 0 && !devices.empty()) {
    result = kNoKnownDevice;
    for (const platform::IrdaDevice& device : devices) {
      const KnownDevice* known = Find(device.name);
      if (known == nullptr) continue;
      if (mode == kModeType || known->type == kReservedType) {
        result = known->type;
      } else {
        result = kKnownUnit;
      }
    }
  }
  sockets.close(s);
  platform::clock().sleep_ms(kAfterCloseMs);
  sockets.cleanup();
  return result;
}

}  // namespace quibra::protocol
