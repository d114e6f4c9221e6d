// Writes a seed corpus for the memory-file target: exercise memories built with the simulator's
// encoders, written by the library's own writers as a memory text dump and as a binary exercise
// file, in the target's input format (memory_files_fuzz.cpp).
// Usage: memory_files_seeds DIRECTORY
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "exercise/bin_files.h"
#include "frame/lifecycle.h"
#include "frame/module.h"
#include "fuzz/seed_writer.h"
#include "quibra/quibra.h"
#include "sim/encoders/k_series_encoder.h"
#include "sim/encoders/outdoor_encoder.h"
#include "sim/encoders/summary_encoders.h"

namespace {

using quibra::fuzz::Bytes;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The image as both files, each once per reader that takes it.
void WriteFiles(quibra::fuzz::SeedWriter& dir, const std::string& scratch, const Bytes& image) {
  auto& memory = quibra::module().exercise_memory;
  memory.allocate();
  int32_t position = 0;
  for (uint8_t b : image) {
    if (!memory.store(++position, b)) break;
  }
  memory.set_count(position);
  if (quibra::exercise::WriteMemoryDump(scratch)) {
    const Bytes dump = ReadFile(scratch);
    dir.write({0}, dump);
    dir.write({1}, dump);
  }
  CommParams params{};
  params.Size = sizeof params;
  std::strncpy(params.FilePath, scratch.c_str(), sizeof params.FilePath - 1);
  std::filesystem::remove(scratch);
  if (fnQuibra_SaveExerciseBinFile(&params) == 1) dir.write({2}, ReadFile(scratch));
  std::filesystem::remove(scratch);
}

}  // namespace

int main(int argc, char** argv) {
  return quibra::fuzz::SeedMain(argc, argv, [&](quibra::fuzz::SeedWriter& dir) {
    quibra::frame::LoadModule();
    const std::string scratch = std::string(argv[1]) + "/.memory-file";
    quibra::sim::KSeriesExercise ride;
    ride.duration_tenths = 600;
    for (int32_t i = 0; i < 12; ++i)
      ride.samples.push_back({120 + i, -1, 300, 80, 50, 200, 10, 20});
    WriteFiles(dir, scratch, quibra::sim::KSeriesWholeImage({ride}, 22, 19, 2));
    quibra::sim::OutdoorExercise walk;
    walk.duration_s = 60;
    for (int32_t i = 0; i < 12; ++i)
      walk.samples.push_back({100 + i, false, 1000 + i});
    WriteFiles(dir, scratch, quibra::sim::OutdoorSingleImage(walk, 20));
    quibra::sim::Type30Exercise session;
    session.laps.assign(2, {600, 150, 140, 170, 1, 2, 3});
    WriteFiles(dir, scratch,
               quibra::sim::Type30Image(session, quibra::sim::ImageKind::kWholeMemory));
  });
}
