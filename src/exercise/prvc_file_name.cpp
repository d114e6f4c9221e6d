#include "codec/charset.h"
#include "exercise/prvc_file_fields.h"

namespace quibra::exercise {
namespace {

constexpr int32_t kNameLength = 10;
constexpr int32_t kNewerUnitTable = 5;
constexpr int32_t kUnknownCharacter = ' ';
constexpr int32_t kBlankCode = 10;  // device code of a space

}  // namespace

std::string FileExerciseName(const MemoryReader& memory) {
  std::string name;
  size_t length = 0;
  for (int32_t i = 0; i < kNameLength; ++i) {
    const int32_t code = memory.byte(kFileHeaderOrigin + i) & 0x7F;
    const auto c =
        static_cast<char>(codec::DeviceCodeToChar(code, kUnknownCharacter, kNewerUnitTable) & 0xFF);
    name.push_back(c);
    if (code != kBlankCode && c != ' ') length = name.size();
  }
  name.resize(length);
  return name;
}

}  // namespace quibra::exercise
