#include "identify.h"

#include <array>
#include <cstdio>
#include <memory>
#include <span>
#include <utility>

#include "failure.h"
#include "irda_pty_peer.h"
#include "irda_stack.h"
#include "quibra/quibra.h"
#include "stop_control.h"

namespace quibra::cli {
namespace {

constexpr int32_t kSerialWithRecoding = 0x00;
constexpr int32_t kUsbAdapter = 0x10;
constexpr int32_t kIrdaSockets = 0x20;
constexpr const char* kIrdaPortName = "IRDA";

// The stand-in IrDA stack and its line to a simulated unit. It lives until the program ends,
// after the library's threads have ended (LibrarySession), and leaves the library on the way.
struct SimulatedIrda {
  explicit SimulatedIrda(const std::string& path) : peer(path) {}
  ~SimulatedIrda() { fnQuibraExt_SetIrdaStack(nullptr); }
  SimulatedIrda(const SimulatedIrda&) = delete;
  SimulatedIrda& operator=(const SimulatedIrda&) = delete;

  sim::IrdaPtyPeer peer;
  sim::IrdaStack stack;
};
std::unique_ptr<SimulatedIrda> g_simulated_irda;

// Puts the unit on the short-form line at `path` in range of a stand-in IrDA stack, which the
// library then uses in place of the system's.
bool ReachSimulatedUnit(const std::string& path) {
  if (g_simulated_irda) return true;  // a command has one --port: the unit is reached already
  auto irda = std::make_unique<SimulatedIrda>(path);
  const std::string name = irda->peer.ok() ? irda->peer.device_name() : std::string();
  if (name.empty()) {
    std::fprintf(stderr,
                 "quibra: no simulated unit answers on %s (start it with quibra sim "
                 "--irda)\n",
                 path.c_str());
    return false;
  }
  sim::IrdaPtyPeer* peer = &irda->peer;
  irda->stack.add_device(
      name, [peer](std::span<const uint8_t> request) { return peer->exchange(request); });
  if (fnQuibraExt_SetIrdaStack(&irda->stack.table()) != 1) return false;
  g_simulated_irda = std::move(irda);
  return true;
}

bool OpenIrda(const std::string& port) {
  if (!port.empty() && !ReachSimulatedUnit(port)) return false;
  if (fnQuibra_StartIRCommunication(kIrdaSockets, kIrdaPortName) == 1) return true;
  std::fprintf(stderr, "quibra: cannot open IrDA sockets (socket error %d)\n",
               fnQuibra_OrvekIrDADeviceAvailable(1, 0));
  return false;
}

}  // namespace

std::array<std::pair<const char*, int64_t>, 10> MonitorInfoFields(const MonitorInfo& info) {
  return {{
      {"Size", info.Size},
      {"MonitorInUse", info.MonitorInUse},
      {"DataVersion", info.DataVersion},
      {"TotalFiles", info.TotalFiles},
      {"FreeMemoryInBytes", info.FreeMemoryInBytes},
      {"TotalMemoryInBytes", info.TotalMemoryInBytes},
      {"LowBattery", info.LowBattery},
      {"HorseMode", info.HorseMode},
      {"N4SensorMissing", info.N4SensorMissing},
      {"MonitorSubModel", info.MonitorSubModel},
  }};
}

void PrintMonitorInfo(std::FILE* out, const MonitorInfo& info) {
  for (const auto& [name, value] : MonitorInfoFields(info))
    std::fprintf(out, "%s = %lld\n", name, static_cast<long long>(value));
}

bool OpenLink(const std::string& port, LinkKind link) {
  if (link == LinkKind::Irda) return OpenIrda(port);
  const bool usb = link == LinkKind::Usb;
  if (fnQuibra_StartIRCommunication(usb ? kUsbAdapter : kSerialWithRecoding,
                                    usb ? nullptr : port.c_str()) == 1) {
    return true;
  }
  // The library tells why where it can ("port /dev/ttyS0 is busy (...)"); else the system.
  char reason[160] = {};
  if (fnQuibraExt_GetFailureText(reason, sizeof reason) > 0) {
    std::fprintf(stderr, "quibra: %s\n", reason);
    return false;
  }
  if (usb) {
    std::fprintf(stderr,
                 "quibra: cannot open the USB infrared adapter (no /dev/orvekusb0..3 "
                 "and none found through libusb)\n");
    return false;
  }
  const std::string cause = PortCause(port);
  std::fprintf(stderr, "quibra: cannot open %s%s%s\n", port.c_str(), cause.empty() ? "" : ": ",
               cause.empty() ? " (in use, or refused by the library)" : cause.c_str());
  return false;
}

std::optional<UnitIdentity> IdentifyUnit(const std::string& port, LinkKind link) {
  if (!OpenLink(port, link)) return std::nullopt;
  auto identity = AskIdentity();
  fnQuibra_EndIRCommunication(0);
  return identity;
}

std::optional<UnitIdentity> AskIdentity() {
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  params.ShowDialog = 1;
  MonitorInfo info{};
  info.MonitorInUse = -1;  // unknown yet: the probe, whose dialog closes by itself on silence
  const int32_t result = fnQuibra_ReadMonitorInfo(&params, &info);
  if (result != 1) {
    if (!StopRequested()) std::fprintf(stderr, "quibra: no wrist unit answered\n");
    return std::nullopt;
  }
  UnitIdentity identity;
  identity.info = info;
  identity.product_code = static_cast<int32_t>(info.MonitorSubModel);
  identity.type = info.MonitorInUse;
  identity.variant = static_cast<int32_t>(info.DataVersion);
  identity.files = static_cast<int32_t>(info.TotalFiles);
  identity.free_memory = info.FreeMemoryInBytes;
  identity.total_memory = static_cast<int32_t>(info.TotalMemoryInBytes);
  identity.low_battery = (info.LowBattery & 1) != 0;
  const char* name = fnQuibra_GetOrvekHRMonitorName(identity.type, identity.variant);
  identity.name = name != nullptr ? name : "";
  return identity;
}

}  // namespace quibra::cli
