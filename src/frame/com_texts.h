// The communication texts that the progress dialogs show (button labels, progress and failure
// texts, the window title). An application may replace them, for example to translate them.
#pragma once

#include <array>
#include <cstdint>

namespace quibra::frame {

enum ComTextIndex : int32_t {
  kTextCancel = 0,
  kTextRetry = 1,
  kTextReading = 2,
  kTextNoAnswer = 3,
  kTextConnectionErrors = 4,
  kTextStarting = 5,
  kTextTitle = 6,
  kTextWriting = 7,
};

inline constexpr int32_t kComTextCount = 8;
inline constexpr int kComTextBytes = 101;    // each slot, terminator included
inline constexpr int kComTextMaxChars = 99;  // the most a caller's text contributes

class ComTexts {
 public:
  // Stores the defaults, in the order title, cancel, retry, reading, no answer, errors,
  // starting, writing.
  void reset();
  // Copies at most 99 characters; 0 when the index is outside 0..7 or the text is null.
  int32_t set(int32_t index, const char* text);
  // The stored text, or null when the index is outside 0..7.
  const char* get(int32_t index) const;

 private:
  std::array<std::array<char, kComTextBytes>, kComTextCount> texts_{};
};

// The module's texts.
const char* GetComText(int32_t index);

}  // namespace quibra::frame
