// Asking a wrist unit who it is, behind the library's progress dialog (drawn on the terminal).
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

#include "quibra/records.h"

namespace quibra::cli {

// Serial adapter, USB adapter, or IrDA sockets: the system's IrDA stack, or with a port the
// short-form line of a simulated unit (quibra sim --irda), reached through an IrDA stack that
// stands in for the system's.
enum class LinkKind { Serial, Usb, Irda };

struct UnitIdentity {
  int32_t product_code = 0;
  int32_t type = 0;
  int32_t variant = 0;
  int32_t files = 0;
  int32_t free_memory = 0;
  int32_t total_memory = 0;
  bool low_battery = false;
  std::string name;
  MonitorInfo info{};  // the whole record as the library filled it
};

// Every field of the record by name, in the record's order.
std::array<std::pair<const char*, int64_t>, 10> MonitorInfoFields(const MonitorInfo& info);

// Prints the unit's name, type, variant and product code, its files and free memory.
void PrintIdentity(const UnitIdentity& unit);

// Prints every field of the record, one "Name = value" line each.
void PrintMonitorInfo(std::FILE* out, const MonitorInfo& info);

// Opens the link: a serial device path (with the adapter's recoding), the USB adapter's device
// files, or IrDA sockets. Prints why on stderr when it does not open.
bool OpenLink(const std::string& port, LinkKind link);

// Opens the link (a serial device path, or the USB adapter's device files), sends the
// identification probe and closes the link again. Prints why on stderr and returns nothing when
// the link does not open or no unit answers.
std::optional<UnitIdentity> IdentifyUnit(const std::string& port, LinkKind link);

// Identifies the unit over the link opened already (which stays open).
std::optional<UnitIdentity> AskIdentity();

}  // namespace quibra::cli
