#include "j9_unit.h"

#include <algorithm>
#include <array>

#include "sim/encoders/fitness_encoders.h"

namespace quibra::sim {
namespace {

// Runs of equal blocks: first address, length, how many, and the step between them.
struct BlockRun {
  int32_t address;
  int32_t count;
  int32_t blocks;
  int32_t step;
};
constexpr std::array<BlockRun, 11> kRuns = {{
    {kJ9UserAt, 12, 1, 0},
    {480, 42, 4, 42},  // the programme, read
    {480, 40, 1, 0},   // its mode block
    {kJ9FileCountAt, 1, 1, 0},
    {kJ9RelaxationCountAt, 1, 1, 0},
    {kJ9FitnessTestsAt, 47, 4, 47},
    {920, 40, 1, 0},  // the header block read before the summaries
    {kJ9SummariesAt, kJ9SummaryBytes, static_cast<int32_t>(kJ9MostExercises), kJ9SummaryBytes},
    {kJ9RelaxationAt, 52, 9, 52},
    {kJ9ProgrammeStagedAt, 40, 4, 40},  // the programme, written
    {kJ9ProgrammeStagedAt + 160, 2, 1, 0},
}};

}  // namespace

std::optional<Block> FindJ9Block(int32_t address, int32_t count) {
  for (const BlockRun& run : kRuns) {
    if (count != run.count) continue;
    for (int32_t i = 0; i < run.blocks; ++i) {
      if (address == run.address + run.step * i) return Block{address, count};
    }
  }
  return std::nullopt;
}

void TakeJ9Programme(std::vector<uint8_t>& memory) {
  if (memory.size() < static_cast<size_t>(kJ9MemoryBytes)) return;
  std::copy_n(memory.begin() + kJ9ProgrammeStagedAt, kJ9ProgrammeBytes,
              memory.begin() + kJ9ProgrammeAt);
}

}  // namespace quibra::sim
