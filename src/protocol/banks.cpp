#include "protocol/banks.h"

#include <algorithm>

namespace quibra::protocol {

int64_t Banks::slot(BankId bank, int32_t sub, int32_t bank_index) {
  const BankLayout& layout_row = bank_layout(bank);
  if (sub < layout_row.first_sub || sub >= layout_row.first_sub + layout_row.subs) return -1;
  if (bank_index < layout_row.first || bank_index > layout_row.last) return -1;
  return static_cast<int64_t>(arena_offset(bank) +
                              image_bytes(layout_row) *
                                  static_cast<size_t>(sub - layout_row.first_sub) +
                              static_cast<size_t>(bank_index - layout_row.first));
}

uint8_t Banks::read(BankId bank, int32_t sub, int32_t bank_index) const {
  const int64_t at = slot(bank, sub, bank_index);
  if (at < 0) return 0;
  const uint8_t stored = arena_[static_cast<size_t>(at)];
  const BankLayout& layout_row = bank_layout(bank);
  // Image index 5 of the parameterised banks carries the sub-image's own parameter, so every
  // image of those messages names its parameter in its first payload byte.
  if (bank_index != layout_row.base + 5) return stored;
  const auto p = static_cast<uint8_t>(sub);
  switch (layout_row.index5) {
    case Index5Rule::Stored:
      return stored;
    case Index5Rule::Param:
      return p;
    case Index5Rule::ParamNibble:
      return (stored & 0xF0) != 0 ? static_cast<uint8_t>(p + 16 * p) : p;
  }
  return stored;
}

bool Banks::write(BankId bank, int32_t sub, int32_t bank_index, uint8_t value) {
  const int64_t at = slot(bank, sub, bank_index);
  if (at < 0) return false;
  arena_[static_cast<size_t>(at)] = value;
  return true;
}

void Banks::clear(BankId bank) {
  const BankLayout& layout_row = bank_layout(bank);
  const auto begin = arena_.begin() + static_cast<std::ptrdiff_t>(arena_offset(bank));
  std::fill(begin,
            begin + static_cast<std::ptrdiff_t>(image_bytes(layout_row) *
                                                static_cast<size_t>(layout_row.subs)),
            0);
}

}  // namespace quibra::protocol
