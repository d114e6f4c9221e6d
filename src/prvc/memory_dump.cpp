#include "prvc/memory_dump.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

#include "frame/module.h"
#include "protocol/engine_control.h"
#include "prvc/unit_info.h"
#include "prvc/unit_memory.h"

namespace quibra::prvc {
namespace {

constexpr int32_t kLargeMemory = 0x40000;  // types 34 and 38
constexpr int32_t kSmallMemory = 0x20000;
// Each read asks for 374 bytes and prints the first 368 of them. The answer repeats the request
// before its data: code, flag, and the 4 address bytes, of which bytes 2..4 give the address of
// the data that follow from byte 6 on. Stored from its byte 2 on at scratch index 0, the address
// lands at scratch 1..3 and the data at scratch 5, where the read returns them.
constexpr int32_t kStep = 368;
constexpr size_t kRequest = 374;
constexpr int32_t kAnswerAddressAt = 1;
constexpr int32_t kBytesPerLine = 16;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Every line of the file ends with carriage return and line feed, on every system.
constexpr const char* kLineEnd = "\r\n";

void WriteHeader(std::FILE* file, const MonitorInfo& info) {
  const std::array<std::pair<const char*, int64_t>, 8> lines = {{
      {"MonitorInUse", info.MonitorInUse},
      {"MonitorSubModel", info.MonitorSubModel},
      {"DataVersion", info.DataVersion},
      {"TotalFiles", info.TotalFiles},
      {"FreeMemoryInBytes", info.FreeMemoryInBytes},
      {"LowBattery", info.LowBattery},
      {"TotalMemoryInBytes", info.TotalMemoryInBytes},
      {"HorseMode", info.HorseMode},
  }};
  for (const auto& [name, value] : lines)
    std::fprintf(file, "//%s = %d%s", name, static_cast<int32_t>(value), kLineEnd);
}

void WriteLines(std::FILE* file, int32_t address, std::span<const uint8_t> data) {
  for (size_t at = 0; at < data.size(); at += kBytesPerLine) {
    std::fprintf(file, "%06x", static_cast<uint32_t>(address) & 0xFFFFFF);
    const size_t end = std::min(data.size(), at + kBytesPerLine);
    for (size_t i = at; i < end; ++i)
      std::fprintf(file, " %02x", data[i]);
    std::fputs(kLineEnd, file);
    address += kBytesPerLine;
  }
}

}  // namespace

int32_t SavePRVCFileMemory(uint32_t parent_window, const char* path) {
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  params.ShowDialog = 1;
  params.ParentWindow = parent_window;
  MonitorInfo info{};
  if (ReadMonitorInfo(params, info) != 1) {
    protocol::EndIRCommunication();
    return 0;
  }
  if (path == nullptr) return 0;
  const int32_t memory =
      info.MonitorInUse == 34 || info.MonitorInUse == 38 ? kLargeMemory : kSmallMemory;
  File file(std::fopen(path, "wb"));
  if (!file) return 0;
  WriteHeader(file.get(), info);
  std::array<uint8_t, kRequest> data{};
  const protocol::Banks& banks = module().banks;
  for (int32_t address = 0; address < memory; address += kStep) {
    if (!ReadUnitMemory(params, address, 0, data, 0)) return 0;
    const int32_t answered = banks.scratch(kAnswerAddressAt) |
                             banks.scratch(kAnswerAddressAt + 1) << 8 |
                             banks.scratch(kAnswerAddressAt + 2) << 16;
    const auto count = static_cast<size_t>(std::min(kStep, memory - address));
    WriteLines(file.get(), answered, std::span<const uint8_t>(data).first(count));
  }
  return std::fclose(file.release()) == 0 ? 1 : 0;
}

}  // namespace quibra::prvc
