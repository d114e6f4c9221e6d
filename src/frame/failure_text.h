// The reason, in words, of the last failure the library can explain beyond a result and an error
// code: a port that could not be opened ("port /dev/null is not a terminal device"), an exercise
// that could not be decoded ("exercise 3: bad start date (month 57)"). Applications read it with
// fnQuibraExt_GetFailureText after a call failed; a later failure replaces it.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

namespace quibra::frame {

// The Module's text (Module::failure_text). Lock order 6, innermost (frame/locks.h): taken for
// one copy in or out.
class FailureText {
 public:
  void set(std::string text);
  std::string get();

 private:
  std::mutex lock_;
  std::string text_;
};

// The module's text: set (an empty text clears it) and read.
void SetFailureText(std::string text);
std::string GetFailureText();
// Copies it into text (size bytes, zero-terminated, cut short when needed); returns its length.
int32_t CopyFailureText(char* text, int32_t size);

}  // namespace quibra::frame
