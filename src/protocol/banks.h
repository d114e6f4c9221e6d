// The device memory images: fixed byte stores ("banks") that hold the image of every message,
// addressed with a bank index (the bank's base number plus the image index). Some banks hold
// several sub-images, chosen by the message parameter. Beside them: the 500-byte scratch of the
// raw memory commands. All bytes are zero at load. There is no lock: the transfer protocol keeps
// the packing thread and the receiving thread apart in time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quibra::protocol {

enum class BankId : uint8_t {
  Bank5,
  Bank16200,
  Bank16300,
  Bank16400,
  Bank16500,
  Bank16600,
  Bank16700,
  Bank16800,
  Bank16850,
  Bank17000,
  Bank17100,
  Bank17200,
  Delete,
  File9011,  // shared by 9011 and 9106
  File9022,
  File9023,
  File9024,
  File9025,
  Scratch,
};

// What a read of image index 5 (bank index base + 5) gives.
enum class Index5Rule : uint8_t {
  Stored,       // the stored byte
  Param,        // the sub-image number p
  ParamNibble,  // p, or p + 16 * p when the stored byte's high nibble is nonzero
};

struct BankLayout {
  BankId id;
  int32_t base;
  int32_t first;      // lowest valid bank index
  int32_t last;       // highest valid bank index
  int32_t first_sub;  // lowest sub-image number (the message parameter)
  int32_t subs;       // number of sub-images
  Index5Rule index5;
};

// The bank table, one row per bank, in BankId order.
inline constexpr BankLayout kBankTable[] = {
    {BankId::Bank5, 0, 5, 60, 0, 1, Index5Rule::Stored},
    {BankId::Bank16200, 16200, 16200, 16262, 0, 8, Index5Rule::ParamNibble},
    {BankId::Bank16300, 16300, 16300, 16369, 0, 1, Index5Rule::Stored},
    {BankId::Bank16400, 16400, 16400, 16439, 0, 1, Index5Rule::Stored},
    {BankId::Bank16500, 16500, 16500, 16539, 0, 8, Index5Rule::Param},
    {BankId::Bank16600, 16600, 16600, 16689, 1, 7, Index5Rule::ParamNibble},
    {BankId::Bank16700, 16700, 16700, 16959, 0, 7, Index5Rule::Stored},
    {BankId::Bank16800, 16800, 16800, 16889, 0, 1, Index5Rule::Stored},
    {BankId::Bank16850, 16850, 16850, 17049, 0, 1, Index5Rule::Stored},
    {BankId::Bank17000, 17000, 17000, 17019, 0, 1, Index5Rule::Stored},
    {BankId::Bank17100, 17100, 17100, 17159, 0, 1, Index5Rule::Stored},
    {BankId::Bank17200, 17200, 17200, 17219, 0, 20, Index5Rule::Stored},
    {BankId::Delete, 0, 0, 15, 0, 1, Index5Rule::Stored},
    {BankId::File9011, 0, 5, 10, 0, 1, Index5Rule::Stored},
    {BankId::File9022, 0, 5, 10, 0, 1, Index5Rule::Stored},
    {BankId::File9023, 0, 5, 10, 0, 1, Index5Rule::Stored},
    {BankId::File9024, 0, 5, 10, 0, 1, Index5Rule::Stored},
    {BankId::File9025, 0, 5, 10, 0, 1, Index5Rule::Stored},
    {BankId::Scratch, 0, 0, 499, 0, 1, Index5Rule::Stored},
};

inline constexpr int32_t kScratchSize = 500;

constexpr const BankLayout& bank_layout(BankId id) {
  return kBankTable[static_cast<std::size_t>(id)];
}

constexpr std::size_t image_bytes(const BankLayout& layout_row) {
  return static_cast<std::size_t>(layout_row.last - layout_row.first + 1);
}

// Where each bank starts in the one arena that holds them all.
constexpr std::size_t arena_offset(BankId id) {
  std::size_t offset = 0;
  for (std::size_t i = 0; i < static_cast<std::size_t>(id); ++i) {
    offset += image_bytes(kBankTable[i]) * static_cast<std::size_t>(kBankTable[i].subs);
  }
  return offset;
}

inline constexpr std::size_t kArenaBytes = arena_offset(BankId::Scratch) + kScratchSize;

class Banks {
 public:
  // The byte at a bank index of a sub-image; 0 when the sub-image or the index is out of range.
  uint8_t read(BankId bank, int32_t sub, int32_t bank_index) const;
  // Stores the byte; false (nothing stored) when the sub-image or the index is out of range.
  bool write(BankId bank, int32_t sub, int32_t bank_index, uint8_t value);
  // Every byte of every sub-image of the bank to 0.
  void clear(BankId bank);

  // The raw-memory scratch: indexes 0..499.
  uint8_t scratch(int32_t index) const { return read(BankId::Scratch, 0, index); }
  void set_scratch(int32_t index, uint8_t value) { write(BankId::Scratch, 0, index, value); }
  void clear_scratch() { clear(BankId::Scratch); }

 private:
  // The arena slot of a bank byte, or -1 when out of range.
  static int64_t slot(BankId bank, int32_t sub, int32_t bank_index);

  std::array<uint8_t, kArenaBytes> arena_{};
};

}  // namespace quibra::protocol
