#include "frame/com_texts.h"

#include <cstring>

#include "frame/module.h"

namespace quibra::frame {
namespace {

struct DefaultText {
  ComTextIndex index;
  const char* text;
};

// The defaults, in the order in which a reset stores them.
constexpr DefaultText kDefaults[] = {
    {kTextTitle, "Infrared Connection"},
    {kTextCancel, "Cancel"},
    {kTextRetry, "Retry"},
    {kTextReading, "Reading..."},
    {kTextNoAnswer, "No answer from HR Monitor"},
    {kTextConnectionErrors, "Errors with Connection"},
    {kTextStarting, "Starting Connection..."},
    {kTextWriting, "Writing..."},
};

}  // namespace

void ComTexts::reset() {
  for (const DefaultText& entry : kDefaults)
    set(entry.index, entry.text);
}

int32_t ComTexts::set(int32_t index, const char* text) {
  if (index < 0 || index >= kComTextCount || text == nullptr) return 0;
  auto& slot = texts_[static_cast<size_t>(index)];
  const size_t length = strnlen(text, kComTextMaxChars);
  std::memcpy(slot.data(), text, length);
  slot[length] = '\0';
  return 1;
}

const char* ComTexts::get(int32_t index) const {
  if (index < 0 || index >= kComTextCount) return nullptr;
  return texts_[static_cast<size_t>(index)].data();
}

const char* GetComText(int32_t index) {
  return module().texts.get(index);
}

}  // namespace quibra::frame
