#include "protocol/data_file.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "frame/comm_params.h"

namespace quibra::protocol {
namespace {

// Lines are compared over at most this many characters.
constexpr size_t kMaxLine = 512;

// The messages whose sections identify what a data file holds, in the order they are tried.
constexpr int32_t kIdentifyingMessages[] = {9003, 9068, 9017};

}  // namespace

std::string DataFileSectionName(int32_t id) {
  char name[32];
  std::snprintf(name, sizeof name, "OrvekData%d", static_cast<int>(id));
  return name;
}

SectionSearch FindDataFileSection(const char* path, int32_t id) {
  if (path == nullptr || path[0] == '\0') return SectionSearch::FileNotOpened;
  std::ifstream file(path, std::ios::binary);
  if (!file) return SectionSearch::FileNotOpened;
  const std::string wanted = DataFileSectionName(id);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxLine) line.resize(kMaxLine);
    if (line == wanted) return SectionSearch::Found;
  }
  return SectionSearch::Absent;
}

int32_t GetIDFromDataFile(const CommParams& params) {
  if (params.ReadFromDataFile == 0) return 1;
  // The path is a fixed field that the caller may not have terminated.
  const std::string path(params.FilePath, strnlen(params.FilePath, sizeof params.FilePath));
  for (int32_t id : kIdentifyingMessages) {
    switch (FindDataFileSection(path.c_str(), id)) {
      case SectionSearch::Found:
        return id;
      case SectionSearch::FileNotOpened:
        frame::SetErrorCode(frame::kErrorFile);
        return 0;
      case SectionSearch::Absent:
        break;
    }
  }
  return 0;
}

}  // namespace quibra::protocol
