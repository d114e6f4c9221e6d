#include "exercise/j9_reads.h"

#include "frame/module.h"
#include "protocol/message_ids.h"
#include "protocol/raw_memory.h"
#include "transfer/send_unit_message.h"

namespace quibra::exercise {
namespace {

// A block read answers the address first: the block's bytes start at scratch index 8.
constexpr int32_t kBlockData = 8;
constexpr int32_t kFileCountArea = 55;  // one byte: the number of exercise files
constexpr int32_t kHeaderAddress = 920;
constexpr int32_t kHeaderCount = 40;

// Exercise summaries: 43 bytes each, from position 47 of the image.
constexpr int32_t kSummaryAddress = 1024;
constexpr int32_t kSummarySize = 43;
constexpr int32_t kSummaryImageStart = 47;
constexpr int32_t kDataTypePosition = 7;
constexpr int32_t kLeadBlocksPosition = 8;
constexpr int32_t kFileCountPosition = 9;

// Test results go from position 8 on: four 47-byte fitness blocks or nine 52-byte relaxation
// blocks; the relaxation count is a byte of its own.
struct TestLayout {
  int32_t blocks;
  int32_t address;
  int32_t size;
};
constexpr TestLayout kTestLayouts[] = {{4, 742, 47}, {9, 2142, 52}};
constexpr int32_t kRelaxationCountAddress = 714;
constexpr int32_t kTestImageStart = 8;

// The programme: four 42-byte blocks at positions 1..168, twelve zero bytes, then the closing
// byte at 181 that tells from byte 14 of the 40-byte mode block whether the programme runs.
constexpr int32_t kProgramAddress = 480;
constexpr int32_t kProgramBlockSize = 42;
constexpr int32_t kProgramModeCount = 40;
constexpr int32_t kProgramModeByte = 14;
constexpr int32_t kProgramModeOff = 2;
constexpr int32_t kProgramPadding = 12;
constexpr int32_t kProgramDataType = 16;  // high nibble set: the image carries the closing byte
constexpr int32_t kProgramLength = 181;

const TestLayout* LayoutOf(int32_t kind) {
  if (kind == kTestKindFitness || kind == kTestKindRelaxation)
    return &kTestLayouts[static_cast<size_t>(kind)];
  return nullptr;
}

// A J9 sequence starts on an empty image, with the area table of type 27 and nothing copied.
void StartSequence() {
  Module& m = module();
  m.exercise_memory.allocate();
  m.unit.type = protocol::kFitnessUnitType;
  m.j9.copied = 0;
}

uint8_t Received(int32_t i) {
  return module().banks.scratch(kBlockData + i);
}

// Copies `count` received bytes to the image from position `first`; false when the image
// refuses a byte.
bool CopyReceived(int32_t first, int32_t count) {
  protocol::ExerciseMemory& memory = module().exercise_memory;
  for (int32_t i = 0; i < count; ++i) {
    if (!memory.store(first + i, Received(i))) return false;
  }
  return true;
}

void SetCount(int32_t count) {
  module().exercise_memory.set_count(count);
}

bool IsBlockNumber(int32_t n) {
  return n >= 0 && n <= kLargestBlockNumber;
}

}  // namespace

void SetFitnessBlock(int32_t address, int32_t count) {
  protocol::RawMemoryState& raw = module().raw_memory;
  raw.fitness_block_address = address;
  raw.fitness_block_count = count;
}

int32_t J9ImageCount() {
  return module().exercise_memory.count();
}

bool ReadFitnessBlock(CommParams& params, int32_t area) {
  Module& m = module();
  m.banks.clear_scratch();
  m.unit.type = protocol::kFitnessUnitType;
  return transfer::SendUnitMessage(params, protocol::msg::kBlockRead, area) == 1;
}

// ---- exercise summaries -------------------------------------------------------------------

void J9ExerciseFilesStart() {
  StartSequence();
}

int32_t J9ExerciseFilesHeader() {
  protocol::ExerciseMemory& memory = module().exercise_memory;
  const uint8_t files = Received(0);
  memory.store(kDataTypePosition, 0);
  memory.store(kLeadBlocksPosition, 0);
  memory.store(kFileCountPosition, files);
  module().j9.copied = 0;
  SetCount(kSummaryImageStart);
  return files;
}

int32_t J9ExerciseFilesBlock(int32_t n) {
  if (!IsBlockNumber(n)) return 0;
  const int32_t address = kSummaryAddress + kSummarySize * n;
  SetFitnessBlock(address, kSummarySize);
  return address;
}

void J9ExerciseFilesCopy(int32_t n) {
  if (!IsBlockNumber(n)) return;
  if (CopyReceived(kSummaryImageStart + kSummarySize * n, kSummarySize))
    module().j9.copied += kSummarySize;
  SetCount(kSummaryImageStart + module().j9.copied);
}

int32_t ReadJ9ExerciseFiles(CommParams& params) {
  J9ExerciseFilesStart();
  if (!ReadFitnessBlock(params, kFileCountArea)) return 0;
  const int32_t files = J9ExerciseFilesHeader();
  // The unit's header block is read as the unit expects before its summaries; the image does
  // not keep it.
  SetFitnessBlock(kHeaderAddress, kHeaderCount);
  if (!ReadFitnessBlock(params, protocol::kFitnessBlockArea)) return 0;
  for (int32_t n = 0; n < files; ++n) {
    J9ExerciseFilesBlock(n);
    if (!ReadFitnessBlock(params, protocol::kFitnessBlockArea)) return 0;
    J9ExerciseFilesCopy(n);
  }
  return files;
}

// ---- test results -------------------------------------------------------------------------

int32_t J9TestCountBlock(int32_t kind) {
  if (kind != kTestKindRelaxation) return 0;
  SetFitnessBlock(kRelaxationCountAddress, 1);
  return 1;
}

int32_t J9TestResultsStart(int32_t kind) {
  const TestLayout* layout = LayoutOf(kind);
  StartSequence();
  return layout == nullptr ? 0 : layout->blocks;
}

int32_t J9TestResultsBlock(int32_t kind, int32_t i) {
  const TestLayout* layout = LayoutOf(kind);
  if (layout == nullptr || !IsBlockNumber(i)) return 0;
  // The count read before the first relaxation block is still in the scratch.
  if (kind == kTestKindRelaxation && i == 0) module().j9.relaxation_count = Received(0);
  const int32_t address = layout->address + layout->size * i;
  SetFitnessBlock(address, layout->size);
  return address;
}

void J9TestResultsCopy(int32_t kind) {
  const TestLayout* layout = LayoutOf(kind);
  if (layout == nullptr) return;
  J9ReadState& j9 = module().j9;
  if (CopyReceived(kTestImageStart + j9.copied, layout->size)) j9.copied += layout->size;
  SetCount(kTestImageStart + j9.copied);
}

int32_t ReadJ9TestResults(CommParams& params, int32_t kind) {
  const TestLayout* layout = LayoutOf(kind);
  if (layout == nullptr) return 0;
  if (J9TestCountBlock(kind) == 1 && !ReadFitnessBlock(params, protocol::kFitnessBlockArea))
    return 0;
  const int32_t blocks = J9TestResultsStart(kind);
  params.MonitorType = protocol::kFitnessUnitType;
  for (int32_t i = 0; i < blocks; ++i) {
    J9TestResultsBlock(kind, i);
    if (!ReadFitnessBlock(params, protocol::kFitnessBlockArea)) return 0;
    J9TestResultsCopy(kind);
  }
  return blocks;
}

// ---- programme ----------------------------------------------------------------------------

int32_t J9ProgramStart() {
  StartSequence();
  return kProgramBlocks;
}

int32_t J9ProgramBlock(int32_t i) {
  if (!IsBlockNumber(i)) return 0;
  const int32_t address = kProgramAddress + kProgramBlockSize * i;
  SetFitnessBlock(address, kProgramBlockSize);
  return address;
}

void J9ProgramCopy(int32_t /*i*/) {
  J9ReadState& j9 = module().j9;
  if (CopyReceived(1 + j9.copied, kProgramBlockSize)) j9.copied += kProgramBlockSize;
  SetCount(j9.copied);
}

int32_t J9ProgramModeBlock() {
  SetFitnessBlock(kProgramAddress, kProgramModeCount);
  return kProgramAddress;
}

void J9ProgramFinish() {
  protocol::ExerciseMemory& memory = module().exercise_memory;
  const int32_t blocks_end = kProgramBlocks * kProgramBlockSize;
  for (int32_t p = blocks_end + 1; p <= blocks_end + kProgramPadding; ++p)
    memory.store(p, 0);
  memory.store(kProgramLength, Received(kProgramModeByte) == kProgramModeOff ? 255 : 1);
  memory.store(kDataTypePosition, kProgramDataType);
  SetCount(kProgramLength);
}

int32_t ReadJ9Program(CommParams& params) {
  J9ProgramStart();
  for (int32_t i = 0; i < kProgramBlocks; ++i) {
    J9ProgramBlock(i);
    if (!ReadFitnessBlock(params, protocol::kFitnessBlockArea)) return 0;
    J9ProgramCopy(i);
  }
  J9ProgramModeBlock();
  if (!ReadFitnessBlock(params, protocol::kFitnessBlockArea)) return 0;
  J9ProgramFinish();
  return kProgramBlocks;
}

}  // namespace quibra::exercise
