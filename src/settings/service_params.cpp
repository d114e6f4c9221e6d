#include "settings/service_params.h"

#include <array>
#include <optional>

#include "codec/bcd.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "frame/state_flags.h"
#include "frame/unit_names.h"
#include "protocol/engine_control.h"
#include "protocol/message_ids.h"
#include "protocol/raw_memory.h"
#include "prvc/unit_memory.h"
#include "settings/service_blocks.h"
#include "sound/pipcast.h"
#include "transfer/send_unit_message.h"
#include "ui/message_box.h"

namespace quibra::settings {
namespace {

// The paged write carries its page byte at 5 and the address at 6 and 7: the value follows.
constexpr int32_t kPagedWriteAt = 8;

// Unit types whose blocks go with the paged write, and the page byte each family needs.
struct PagedRoute {
  int32_t first_type;
  int32_t last_type;
  uint8_t page;
};
constexpr PagedRoute kPagedRoutes[] = {
    {19, 21, 16},
    {41, 41, 0},
    {28, 31, 160},
};

// Where the running and cycling units keep the service values: in the factory data area, which
// begins with the clock's correction (the three bytes of block 43, in the same order) and holds
// the contrast level at offset 5. This is the block the memory health check reads at address 0
// and whose repair writes the factory values (10 s correction, contrast 7).
struct FactoryArea {
  int32_t type;
  int32_t address;
};
constexpr FactoryArea kFactoryAreas[] = {
    {33, 0}, {34, 0}, {35, 0}, {36, 0}, {37, 0}, {38, 0},
};
constexpr int32_t kTimeCorrectionOffset = 0;
constexpr int32_t kContrastOffset = 5;
// The write command's data start at scratch index 12 of the 500-byte scratch.
constexpr int32_t kMaxFactoryBytes = 500 - 12;

// The link a direct memory write starts: IrDA sockets with keep-alive, on the system's IrDA
// stack.
constexpr int32_t kDirectLinkOptions = protocol::kOptionIrdaSockets | protocol::kOptionKeepAlive;
constexpr const char* kDirectLinkPort = "IRDA";
constexpr const char* kSuccessText = "Success!";
constexpr const char* kFailedText = "Failed!";

// One service parameter: its block, which running and cycling unit types take it by direct
// memory write (and where), and the caption of that write's message box.
struct ServiceParameter {
  int32_t block;
  std::span<const int32_t> direct_types;
  int32_t direct_offset;  // -1: the parameter has no place in the factory data area
  const char* caption;
};
constexpr int32_t kDirectTypes[] = {33, 35, 36, 37};
constexpr int32_t kDirectTypesWith38[] = {33, 35, 36, 37, 38};
// The hour mode has no known place in the factory data area: those types refuse it.
constexpr ServiceParameter kHourMode = {42, kDirectTypes, -1, kHourModeCaption};
constexpr ServiceParameter kTimeCorrection = {43, kDirectTypesWith38, kTimeCorrectionOffset,
                                              kTimeCorrectionCaption};
constexpr ServiceParameter kContrast = {44, kDirectTypes, kContrastOffset, kContrastCaption};

enum class Route { Block, Paged, Direct };

struct RouteChoice {
  Route route = Route::Block;
  uint8_t page = 0;
};

// A service value goes only to a unit type the library knows: one with a name, or one the
// paged route names (41). Any other type would get the block write of the oldest units, which
// it may not understand, so it is refused with nothing on the line.
bool KnownServiceType(int32_t monitor_type) {
  for (const PagedRoute& r : kPagedRoutes) {
    if (monitor_type >= r.first_type && monitor_type <= r.last_type) return true;
  }
  return *frame::MonitorName(monitor_type, 0) != '\0';
}

RouteChoice ChooseRoute(const ServiceParameter& p, int32_t monitor_type) {
  for (const int32_t t : p.direct_types) {
    if (t == monitor_type) return {Route::Direct, 0};
  }
  for (const PagedRoute& r : kPagedRoutes) {
    if (monitor_type >= r.first_type && monitor_type <= r.last_type) return {Route::Paged, r.page};
  }
  return {Route::Block, 0};
}

std::optional<int32_t> FactoryAreaAddress(int32_t type) {
  for (const FactoryArea& a : kFactoryAreas) {
    if (a.type == type) return a.address;
  }
  return std::nullopt;
}

void ShowOutcome(bool ok, const std::string& caption) {
  ui::message_box_host().show(ok ? kSuccessText : kFailedText, caption);
}

// Starts the IrDA link and writes the bytes. An IrDA link the application has open already
// serves as well (the start refuses while a conversation runs); a link that neither runs nor
// starts is a failure reported like any other, with nothing sent.
int32_t DirectMemoryWrite(int32_t monitor_type, int32_t offset, std::span<const uint8_t> bytes,
                          const std::string& caption) {
  const bool irda_running = frame::GetStateFlag(frame::kFlagEngineRunning) != 0 &&
                            frame::GetStateFlag(frame::kFlagIrdaSockets) != 0;
  if (!irda_running && protocol::StartIRCommunication(kDirectLinkOptions, kDirectLinkPort) == 0) {
    ShowOutcome(false, caption);
    return 0;
  }
  return WriteFactoryBytesAndReport(monitor_type, offset, bytes, caption);
}

// Writes the value bytes by the route of the unit type, then sends the factory defaults when
// asked to. block_bytes go by the block write of the oldest units, bytes by the other routes.
int32_t WriteServiceParameter(const ServiceParameter& p, int32_t link_type, int32_t monitor_type,
                              std::span<const uint8_t> block_bytes, std::span<const uint8_t> bytes,
                              int32_t factory_defaults, uint32_t pause_ms) {
  if (link_type != 0 && link_type != 1) return 0;
  if (!KnownServiceType(monitor_type)) return 0;
  const RouteChoice choice = ChooseRoute(p, monitor_type);
  if (choice.route == Route::Direct) {
    if (p.direct_offset < 0) return 0;
    return DirectMemoryWrite(monitor_type, p.direct_offset, bytes, p.caption);
  }
  CommParams params = ServiceParams(static_cast<uint32_t>(link_type), true);
  SelectBlockLayouts(kBlockLayoutType);
  Module& m = module();
  const bool paged = choice.route == Route::Paged;
  const int32_t message = paged ? protocol::msg::kBlockWriteLead : protocol::msg::kBlockWrite;
  const int32_t at = paged ? kPagedWriteAt : kBlockWriteAt;
  if (paged) m.raw_memory.leading_byte = choice.page;
  const std::span<const uint8_t> value = paged ? bytes : block_bytes;
  for (size_t i = 0; i < value.size(); ++i)
    m.banks.set_scratch(at + static_cast<int32_t>(i), value[i]);
  const bool sent = link_type == 1 ? Delivered(transfer::SendUnitMessage(params, message, p.block))
                                   : sound::SendBySoundOrDataFile(params, message, p.block) != 0;
  if (!sent) return 0;
  if (factory_defaults == 0) return 1;
  return FactoryDefaultsAfter(params, pause_ms);
}

}  // namespace

int32_t SetDefaultHourMode(int32_t link_type, int32_t mode, int32_t variant, int32_t monitor_type,
                           int32_t factory_defaults) {
  if ((mode != 0 && mode != 1) || (variant != 0 && variant != 1)) return 0;
  // The oldest units keep the hour mode beside a marker in the high nibble that the first
  // hardware variant needs.
  const std::array<uint8_t, 1> block = {static_cast<uint8_t>(variant == 0 ? mode + 16 : mode)};
  const std::array<uint8_t, 1> plain = {static_cast<uint8_t>(mode)};
  return WriteServiceParameter(kHourMode, link_type, monitor_type, block, plain, factory_defaults,
                               kFactoryDefaultsPauseMs);
}

int32_t SetTimeCorrectionValue(int32_t link_type, int32_t value, int32_t monitor_type,
                               int32_t factory_defaults, int32_t delay_ms) {
  // Compared before it is negated: the negation of the lowest int32 does not exist.
  if (value < -3999 || value > 3999) return 0;
  const int32_t magnitude = value < 0 ? -value : value;
  if (magnitude < 6) return 0;
  const std::array<uint8_t, 3> bytes = {static_cast<uint8_t>(codec::BinToBcd(magnitude % 100)),
                                        static_cast<uint8_t>(codec::BinToBcd(magnitude / 100)),
                                        static_cast<uint8_t>(value > 0 ? 1 : 0)};
  const uint32_t pause = delay_ms > 0 ? static_cast<uint32_t>(delay_ms) : kFactoryDefaultsPauseMs;
  return WriteServiceParameter(kTimeCorrection, link_type, monitor_type, bytes, bytes,
                               factory_defaults, pause);
}

int32_t SetLCDContrast(int32_t link_type, int32_t level, int32_t monitor_type,
                       int32_t factory_defaults) {
  if (level < 1 || level > 14) return 0;
  const std::array<uint8_t, 1> bytes = {static_cast<uint8_t>(level)};
  return WriteServiceParameter(kContrast, link_type, monitor_type, bytes, bytes, factory_defaults,
                               kFactoryDefaultsPauseMs);
}

int32_t WriteFactoryEEPROMData(const uint8_t* bytes, int32_t count, int32_t monitor_type) {
  if (bytes == nullptr || count < 1 || count > kMaxFactoryBytes) return 0;
  if (!FactoryAreaAddress(monitor_type)) return 0;
  return DirectMemoryWrite(monitor_type, 0,
                           std::span<const uint8_t>(bytes, static_cast<size_t>(count)),
                           kFactoryDataCaption);
}

int32_t WriteFactoryBytesAndReport(int32_t monitor_type, int32_t offset,
                                   std::span<const uint8_t> bytes, const std::string& caption) {
  const std::optional<int32_t> area = FactoryAreaAddress(monitor_type);
  bool ok = false;
  if (area && offset >= 0) {
    CommParams params = ServiceParams(frame::kLinkInfrared, true);
    module().unit.type = monitor_type;
    ok = prvc::WriteUnitMemory(params, monitor_type, *area + offset, bytes);
  }
  ShowOutcome(ok, caption);
  return ok ? 1 : 0;
}

}  // namespace quibra::settings
