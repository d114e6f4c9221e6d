#include "protocol/data_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "frame/comm_params.h"
#include "protocol/catalogue.h"
#include "protocol/message_image.h"

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

namespace {

// Reads lines until one is the message's section line; the stream then stands just after it.
bool SeekSection(std::istream& file, int32_t id) {
  const std::string wanted = DataFileSectionName(id);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxLine) line.resize(kMaxLine);
    if (line == wanted) return true;
  }
  return false;
}

// The path is a fixed field that the caller may not have terminated.
std::string PathOf(const CommParams& params) {
  return std::string(params.FilePath, strnlen(params.FilePath, sizeof params.FilePath));
}

// The number of image bytes a data-file section holds.
int32_t SectionLength(int32_t id) {
  return std::max(0, GetMessageLength(id, 1, kFieldLength));
}

}  // namespace

SectionSearch FindDataFileSection(const char* path, int32_t id) {
  if (path == nullptr || path[0] == '\0') return SectionSearch::FileNotOpened;
  std::ifstream file(path, std::ios::binary);
  if (!file) return SectionSearch::FileNotOpened;
  return SeekSection(file, id) ? SectionSearch::Found : SectionSearch::Absent;
}

int32_t WriteDataFile(const CommParams& params, int32_t id, int32_t param) {
  if (params.WriteToDataFile == 0) return 1;
  const std::string path = PathOf(params);
  if (path.empty()) {
    frame::SetErrorCode(frame::kErrorFile);
    return 0;
  }
  std::string bytes = DataFileSectionName(id) + "\r\n";
  const int32_t length = SectionLength(id);
  for (int32_t i = 0; i < length; ++i) {
    bytes.push_back(static_cast<char>(GetMessageByte(id, param, i)));
  }
  bytes.append("\r\n", 2);
  bytes.push_back('\0');

  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) {
    // A read-only file left from an earlier run: make it writable and try once more.
    std::error_code ignored;
    std::filesystem::permissions(
        path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
        std::filesystem::perm_options::add, ignored);
    file.clear();
    file.open(path, std::ios::binary | std::ios::trunc);
  }
  if (!file) {
    frame::SetErrorCode(frame::kErrorFile);
    return 0;
  }
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file ? 1 : 0;
}

int32_t ReadDataFile(const CommParams& params, int32_t id, int32_t param) {
  if (params.ReadFromDataFile == 0) return 1;
  const std::string path = PathOf(params);
  std::ifstream file;
  if (!path.empty()) file.open(path, std::ios::binary);
  if (path.empty() || !file) {
    frame::SetErrorCode(frame::kErrorFile);
    return 0;
  }
  if (!SeekSection(file, id)) return 0;
  const int32_t length = SectionLength(id);
  std::vector<char> bytes(static_cast<size_t>(length), 0);
  file.read(bytes.data(), length);
  if (file.bad()) return 0;
  // Image index 0 is the fixed start byte: the section's bytes land one further on.
  for (int32_t i = 0; i < length; ++i) {
    SetMessageByte(id, param, i + 1, static_cast<uint8_t>(bytes[static_cast<size_t>(i)]));
  }
  return 1;
}

int32_t GetIDFromDataFile(const CommParams& params) {
  if (params.ReadFromDataFile == 0) return 1;
  const std::string path = PathOf(params);
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
