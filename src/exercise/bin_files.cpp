#include "exercise/bin_files.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

#include "codec/bcd.h"
#include "exercise/new_file.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"

namespace quibra::exercise {
namespace {

constexpr size_t kBinPathMax = 261;
constexpr const char* kEol = "\r\n";
// The dump's version number: the BCD byte 8 of the identification answer.
constexpr int32_t kVersionIndex = 8;
// Mode 1 dumps place their entries from position 2 on.
constexpr int32_t kWholeImageFirst = 2;

std::string PathOf(const CommParams& params) {
  return std::string(params.FilePath, strnlen(params.FilePath, sizeof params.FilePath));
}

// The path in params, or the one the dialog gives (the chosen path is not written back).
std::optional<std::string> ChoosePath(const CommParams& params, bool save) {
  std::string path = PathOf(params);
  if (!path.empty()) return path;
  platform::FileDialogRequest request;
  request.save = save;
  request.owner = params.ParentWindow;
  request.filter_text = "Binary Files (*.bin)";
  request.pattern = "*.bin";
  request.title = save ? "Save Orvek Binary Exercise File" : "Open Orvek Binary Exercise File";
  request.default_ext = "bin";
  request.max_path = kBinPathMax;
  request.prompt_overwrite = save;
  auto chosen = platform::file_dialogs().ask(request);
  if (!chosen || chosen->empty()) return std::nullopt;
  return chosen;
}

// The image entries of both files: position 0 (always 0) through position N.
std::vector<uint8_t> ImageEntries() {
  const protocol::ExerciseMemory& memory = module().exercise_memory;
  std::vector<uint8_t> entries(static_cast<size_t>(memory.count()) + 1, 0);
  for (int32_t p = 1; p <= memory.count(); ++p)
    entries[static_cast<size_t>(p)] = memory.at(p);
  return entries;
}

// The next whitespace-separated word as an integer; a missing or non-numeric word is 0.
int32_t NextWord(std::istream& in, bool& ended) {
  std::string word;
  if (!(in >> word)) {
    ended = true;
    return 0;
  }
  return static_cast<int32_t>(std::strtol(word.c_str(), nullptr, 10));
}

}  // namespace

int32_t SaveExerciseBinFile(const CommParams& params) {
  const auto path = ChoosePath(params, true);
  if (!path) {
    frame::SetErrorCode(kFileNotOpened);
    return 0;
  }
  const std::vector<uint8_t> entries = ImageEntries();
  return SaveNewFile(*path, entries.data(), entries.size());
}

int32_t LoadExerciseBinFile(const CommParams& params) {
  const auto path = ChoosePath(params, false);
  std::ifstream in;
  if (path) in.open(*path, std::ios::binary);
  if (!path || !in.is_open()) {
    frame::SetErrorCode(kFileNotOpened);
    return 0;
  }
  Module& m = module();
  m.exercise_store.ResetExerciseRecord(0);
  protocol::ExerciseMemory& memory = m.exercise_memory;
  memory.allocate();
  // File byte k goes to position k: byte 0 has no position, and bytes beyond the image limit
  // are refused; the count stops at the last position taken.
  std::vector<char> chunk(4096);
  int32_t k = 0;
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    const auto got = static_cast<size_t>(in.gcount());
    for (size_t i = 0; i < got; ++i, ++k) {
      if (memory.store(k, static_cast<uint8_t>(chunk[i]))) memory.set_count(k);
    }
  }
  return 1;
}

bool WriteMemoryDump(const std::string& path) {
  const std::vector<uint8_t> entries = ImageEntries();
  std::string text;
  text.reserve(entries.size() * 5 + 32);
  text += std::to_string(module().exercise_memory.count()) + kEol;
  const uint8_t version = protocol::GetMessageByte(protocol::msg::kIdentify, 1, kVersionIndex);
  text += std::to_string(codec::BcdToBin(version)) + kEol;
  for (uint8_t e : entries) {
    text += std::to_string(e);
    text += kEol;
  }
  return WriteNewFile(path, text.data(), text.size()) == FileWrite::kWritten;
}

int32_t ReadBinaryMemoryFile(const std::string& path, int32_t mode) {
  std::ifstream in(path, std::ios::binary);
  if (path.empty() || !in.is_open()) {
    frame::SetErrorCode(kFileNotOpened);
    return 0;
  }
  bool ended = false;
  const int32_t count = NextWord(in, ended);
  const int32_t version = NextWord(in, ended);
  if (mode == 1) NextWord(in, ended);
  protocol::ExerciseMemory& memory = module().exercise_memory;
  memory.allocate();
  const int32_t first = mode == 1 ? kWholeImageFirst : 0;
  // A dump of this library also holds position N; a shorter one simply ends (missing entries
  // stay 0). No more entries than the image can hold are read.
  // The count is the file's word: it is bounded by the image before anything is added to it.
  const int32_t bounded = std::clamp(count, 0, protocol::kExerciseMemoryLimit);
  const int32_t entries =
      std::min(mode == 1 ? bounded : bounded + 1, protocol::kExerciseMemoryLimit + 1 - first);
  for (int32_t i = 0; i < entries && !ended; ++i) {
    const int32_t value = NextWord(in, ended);
    if (!ended) memory.store(first + i, static_cast<uint8_t>(value));
  }
  // Positions the file did not fill still count (as zeros), up to the image limit.
  for (int32_t p = memory.capacity(); p <= bounded && !memory.set_count(bounded); p += 100)
    memory.store(p, 0);
  memory.set_count(bounded);
  return version;
}

}  // namespace quibra::exercise
