#include "protocol/transfer_texts.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <span>

#include "frame/com_texts.h"
#include "frame/module.h"

namespace quibra::protocol {
namespace {

constexpr int16_t kCommandsWithoutAnswer[] = {9009, 9010, 9038, 9088, 9105};

constexpr int16_t kReadMessages[] = {9002, 9004, 9006, 9008, 9011, 9014, 9016, 9018,
                                     9020, 9021, 9028, 9029, 9041, 9043, 9045, 9046,
                                     9048, 9051, 9053, 9056, 9069, 9090, 9106};

constexpr int16_t kWriting[] = {9001, 9003, 9005, 9007, 9013, 9015, 9017, 9019, 9026, 9027, 9035,
                                9037, 9040, 9042, 9044, 9047, 9049, 9050, 9052, 9054, 9055, 9057,
                                9060, 9062, 9064, 9065, 9068, 9073, 9077, 9078, 9080, 9084, 9108};
constexpr int16_t kReading[] = {9002, 9004, 9006, 9008, 9014, 9016, 9018, 9020, 9021, 9028,
                                9029, 9041, 9043, 9045, 9046, 9048, 9051, 9053, 9056, 9069};
constexpr int16_t kFactoryDefaults[] = {9009};
constexpr int16_t kWatchMode[] = {9010};
constexpr int16_t kReadingFiles[] = {9011, 9022, 9023, 9025, 9106};
constexpr int16_t kDeletingFile[] = {9012};
constexpr int16_t kSleepMode[] = {9038, 9105};
constexpr int16_t kRestoringMemory[] = {9088};

struct DefaultText {
  const char* text;
  std::span<const int16_t> ids;
};

constexpr DefaultText kDefaultTexts[] = {
    {"Writing...", kWriting},
    {"Reading...", kReading},
    {"Restoring factory defaults...", kFactoryDefaults},
    {"Setting to watch mode...", kWatchMode},
    {"Reading files...", kReadingFiles},
    {"Deleting file...", kDeletingFile},
    {"Setting to sleep mode...", kSleepMode},
    {"Restoring memory...", kRestoringMemory},
};

bool contains(std::span<const int16_t> ids, int32_t id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

bool IsCommandWithoutAnswer(int32_t id) {
  return contains(kCommandsWithoutAnswer, id);
}

bool IsReadMessage(int32_t id) {
  return contains(kReadMessages, id);
}

const char* GetDefaultTransferText(int32_t id, int32_t /*param*/) {
  auto& buffer = module().transfer.default_text;
  buffer.fill('\0');
  for (const DefaultText& entry : kDefaultTexts) {
    if (contains(entry.ids, id)) {
      std::strncpy(buffer.data(), entry.text, buffer.size() - 1);
      break;
    }
  }
  return buffer.data();
}

std::string SharedDialogText() {
  const auto& text = module().transfer.shared_text;
  return std::string(text.data(), strnlen(text.data(), text.size()));
}

void SetSharedDialogText(const char* text, size_t max_chars) {
  auto& shared = module().transfer.shared_text;
  const size_t length = text == nullptr ? 0 : strnlen(text, std::min(max_chars, shared.size() - 1));
  std::fill(shared.begin(), shared.end(), '\0');
  if (length > 0) std::memcpy(shared.data(), text, length);
}

void SelectTransferText(bool force) {
  if (!force && module().transfer.shared_text[0] != '\0') return;
  const int32_t index =
      IsReadMessage(module().transfer.message) ? frame::kTextReading : frame::kTextWriting;
  SetSharedDialogText(frame::GetComText(index), frame::kComTextMaxChars);
}

}  // namespace quibra::protocol
