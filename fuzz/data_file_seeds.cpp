// Writes a seed corpus for the data-file target: the data files the library itself writes for
// every reader (data_file_readers.h) and every unit type, in the target's input format.
// Usage: data_file_seeds DIRECTORY
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "frame/lifecycle.h"
#include "frame/module.h"
#include "fuzz/data_file_readers.h"
#include "fuzz/seed_writer.h"
#include "fuzz/still_clock.h"
#include "fuzz/unit_types.h"
#include "platform/registry.h"

namespace {

quibra::fuzz::StillClock g_clock;

}  // namespace

int main(int argc, char** argv) {
  return quibra::fuzz::SeedMain(argc, argv, [&](quibra::fuzz::SeedWriter& dir) {
    quibra::frame::LoadModule();
    quibra::platform::set_clock(&g_clock);
    const std::string scratch = std::string(argv[1]) + "/.data-file";
    constexpr uint8_t kArgument = 20;  // a section read of 9021: an identification
    for (uint8_t r = 0; r < quibra::fuzz::kDataFileReaders.size(); ++r) {
      for (const int32_t type : quibra::fuzz::kUnitTypes) {
        quibra::module().unit.type = type;
        std::filesystem::remove(scratch);
        CommParams params{};
        params.Size = sizeof params;
        params.MonitorType = type;
        params.WriteToDataFile = 1;
        std::strncpy(params.FilePath, scratch.c_str(), sizeof params.FilePath - 1);
        // The section reader has no writer of its own: the identification's section stands in.
        if (r == 0) {
          quibra::protocol::WriteDataFile(params, quibra::protocol::msg::kIdentify, 1);
        } else {
          quibra::fuzz::kDataFileReaders[r].run(params, type, kArgument);
        }
        std::ifstream in(scratch, std::ios::binary);
        const quibra::fuzz::Bytes file((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
        if (!file.empty()) dir.write({r, quibra::fuzz::UnitTypeIndex(type), kArgument}, file);
      }
    }
    std::filesystem::remove(scratch);
  });
}
