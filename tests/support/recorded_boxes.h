// Test support: a message-box host that records what the library showed instead of showing it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/message_box.h"

namespace quibra::testing {

class RecordedBoxes final : public ui::MessageBoxHost {
 public:
  void show(const std::string& text, const std::string& caption) override {
    shown.emplace_back(text, caption);
  }
  std::vector<std::pair<std::string, std::string>> shown;
};

}  // namespace quibra::testing
