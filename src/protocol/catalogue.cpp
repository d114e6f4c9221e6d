#include "protocol/catalogue.h"

#include "protocol/message_ids.h"

#include <array>

namespace quibra::protocol {
namespace {

using enum BankId;
using K = MessageKind;
using L = LengthSource;

constexpr StoreRef z(BankId bank) {
  return {bank, SubImage::Zero, 0};
}
constexpr StoreRef p(BankId bank, int16_t shift = 0) {
  return {bank, SubImage::Param, shift};
}

// One row per message. A message whose lengths come from the area table or the builders has
// zeros in those columns. Columns: id, read store, write store, length, payload, tries,
// wait ms, answer, IrDA send, IrDA answer, IrDA offset, kind, length source.
constexpr MessageRow kCatalogue[] = {
    {9001, z(Bank5), z(Bank5), 18, 11, 5, 200, 8, 12, 2, -2, K::Write, L::Table},
    {9002, z(Bank5), z(Bank5), 7, 0, 5, 300, 18, 1, 12, 4, K::Read, L::Table},
    {9003, p(Bank16200), p(Bank16200), 40, 33, 5, 300, 8, 34, 2, -2, K::Write, L::Table},
    {9004, p(Bank16200), p(Bank16200), 8, 0, 5, 300, 40, 2, 28, 4, K::Read, L::Table},
    {9005, z(Bank16400), z(Bank16400), 30, 23, 5, 200, 8, 24, 2, -2, K::Write, L::Table},
    {9006, z(Bank16400), z(Bank16400), 7, 0, 5, 300, 30, 1, 24, 4, K::Read, L::Table},
    {9007, z(Scratch), z(Scratch), 0, 3, 5, 250, 0, 0, 0, -2, K::Write, L::AreaTable},
    {9008, z(Scratch), z(Scratch), 0, 3, 5, 250, 0, 0, 0, 4, K::Read, L::AreaTable},
    {9009, z(Bank16850), z(Bank16850), 7, 0, 5, 200, 8, 1, 2, -2, K::Command, L::Table},
    {9010, z(Bank16850), z(Bank16850), 7, 0, 5, 200, 8, 1, 0, -2, K::Command, L::Table},
    {9011, z(File9011), z(File9011), 7, 0, 5, 200, 9, 1, 3, 4, K::Read, L::Table},
    {9012, z(Delete), z(Delete), 14, 7, 5, 300, 8, 8, 1, -2, K::Write, L::Table},
    {9013, p(Bank16500), p(Bank16500), 21, 14, 5, 200, 8, 15, 2, -2, K::Write, L::Table},
    {9014, p(Bank16500), p(Bank16500), 8, 1, 5, 200, 21, 2, 15, 4, K::Read, L::Table},
    {9015, z(Bank16700), z(Bank16700), 54, 47, 5, 300, 8, 48, 2, -2, K::Write, L::Table},
    {9016, z(Bank16700), z(Bank16700), 7, 0, 5, 250, 54, 1, 48, 4, K::Read, L::Table},
    {9017, p(Bank16600), p(Bank16600), 81, 74, 5, 300, 8, 0, 0, -2, K::Write, L::Table},
    {9018, p(Bank16600), p(Bank16600), 8, 1, 5, 300, 81, 5, 1, -2, K::Read, L::Table},
    {9019, z(Bank16300), z(Bank16300), 32, 25, 5, 250, 8, 25, 1, -2, K::Write, L::Table},
    {9020, z(Bank16300), z(Bank16300), 7, 0, 5, 250, 32, 1, 24, 4, K::Read, L::Table},
    {9021, z(Bank16800), z(Bank16800), 7, 0, 15, 300, 13, 1, 7, 4, K::Read, L::Table},
    {9022, z(File9022), z(File9022), 7, 5, 5, 250, 0, 2, 3, -2, K::Write, L::Table},
    {9023, z(File9023), z(File9023), 7, 5, 5, 250, 0, 2, 3, -2, K::Write, L::Table},
    {9024, z(File9024), z(File9024), 7, 5, 1, 100, 0, 2, 2, -2, K::Write, L::Table},
    {9025, z(File9025), z(File9025), 0, 0, 10, 100, 14, 0, 3, -2, K::Write, L::Table},
    {9026, p(Bank16600), p(Bank16600, 6), 0, 0, 5, 100, 0, 57, 2, -2, K::Write, L::Table},
    {9027, p(Bank16600), p(Bank16600, 61), 0, 0, 5, 100, 0, 20, 2, -2, K::Write, L::Table},
    {9028, p(Bank16600, 6), p(Bank16600, 6), 0, 0, 5, 100, 0, 2, 57, -2, K::Read, L::Table},
    {9029, p(Bank16600, 61), p(Bank16600, 61), 0, 0, 5, 100, 0, 2, 20, -2, K::Read, L::Table},
    {9030, z(Bank16850), z(Bank16850), 39, 32, 5, 200, 8, 0, 0, -2, K::Write, L::Table},
    {9031, z(Bank16850), z(Bank16850), 10, 3, 5, 200, 8, 0, 0, -2, K::Write, L::Table},
    {9032, z(Bank16850), z(Bank16850), 9, 2, 5, 200, 8, 0, 0, -2, K::Write, L::Table},
    {9033, z(Bank16850), z(Bank16850), 9, 2, 5, 200, 8, 0, 0, -2, K::Write, L::Table},
    {9034, z(Bank16850), z(Bank16850), 20, 13, 5, 200, 8, 0, 0, -2, K::Write, L::Table},
    {9035, z(Scratch), z(Scratch), 0, 3, 5, 250, 0, 0, 0, -2, K::Write, L::AreaTable},
    {9037, z(Bank16850), z(Bank16850), 12, 5, 5, 100, 8, 0, 0, -2, K::Write, L::Table},
    {9038, z(Bank16850), z(Bank16850), 7, 0, 5, 100, 8, 1, 2, -2, K::Command, L::Table},
    {9040, z(Bank5), z(Bank5), 44, 37, 5, 300, 8, 38, 2, -2, K::Write, L::Table},
    {9041, z(Bank5), z(Bank5), 7, 5, 5, 300, 44, 1, 38, 4, K::Read, L::Table},
    {9042, z(Bank16400), z(Bank16400), 37, 30, 5, 300, 8, 31, 2, -2, K::Write, L::Table},
    {9043, z(Bank16400), z(Bank16400), 7, 5, 5, 300, 37, 1, 30, 4, K::Read, L::Table},
    {9044, p(Bank17200), p(Bank17200), 17, 20, 5, 300, 8, 11, 2, -2, K::Write, L::Table},
    {9045, p(Bank17200), p(Bank17200), 8, 5, 5, 300, 17, 2, 9, 4, K::Read, L::Table},
    {9046, z(Bank16300), z(Bank16300), 7, 0, 5, 300, 58, 1, 52, 4, K::Read, L::Table},
    {9047, z(Bank16300), z(Bank16300), 8, 1, 5, 300, 8, 2, 2, -2, K::Write, L::Table},
    {9048, z(Bank17000), z(Bank17000), 7, 0, 5, 300, 30, 1, 24, 4, K::Read, L::Table},
    {9049, z(Bank17000), z(Bank17000), 7, 23, 5, 300, 8, 1, 2, -2, K::Write, L::Table},
    {9050, p(Bank16700), p(Bank16700), 55, 48, 5, 300, 8, 49, 2, -2, K::Write, L::Table},
    {9051, p(Bank16700), p(Bank16700), 8, 1, 5, 300, 55, 2, 48, 4, K::Read, L::Table},
    {9052, p(Bank16500), p(Bank16500), 21, 13, 5, 300, 8, 15, 2, -2, K::Write, L::Table},
    {9053, p(Bank16500), p(Bank16500), 8, 5, 5, 300, 21, 2, 13, 4, K::Read, L::Table},
    {9055, z(Bank17100), z(Bank17100), 21, 14, 5, 300, 8, 16, 2, 4, K::Write, L::Table},
    {9056, z(Bank17100), z(Bank17100), 7, 0, 5, 300, 49, 2, 42, 4, K::Read, L::Table},
    {9057, z(Scratch), z(Scratch), 188, 181, 5, 300, 0, 0, 0, -2, K::Write, L::Table},
    {9059, z(Bank16850), z(Bank16850), 8, 1, 5, 300, 0, 0, 0, -2, K::Write, L::Table},
    {9060, z(Bank16400), z(Bank16400), 19, 12, 5, 300, 8, 13, 2, -2, K::Write, L::Table},
    {9062, z(Bank5), z(Bank5), 18, 11, 5, 300, 0, 0, 0, -2, K::Write, L::Table},
    {9064, z(Bank16300), z(Bank16300), 44, 37, 5, 300, 0, 0, 0, -2, K::Write, L::Table},
    {9065, z(Bank16850), z(Bank16850), 169, 162, 5, 300, 0, 0, 0, -2, K::Write, L::Table},
    {9068, p(Bank16200), p(Bank16200), 63, 56, 5, 300, 8, 57, 2, -2, K::Write, L::Table},
    {9069, p(Bank16200), p(Bank16200), 8, 0, 5, 300, 63, 2, 51, 4, K::Read, L::Table},
    {9072, z(Bank16850), z(Bank16850), 8, 0, 5, 300, 63, 2, 0, 4, K::Write, L::Table},
    {9073, z(Bank16700), z(Bank16700), 102, 95, 5, 300, 8, 94, 2, 4, K::Write, L::Table},
    {9077, z(Bank5), z(Bank5), 17, 10, 5, 300, 8, 0, 0, -2, K::Write, L::Table},
    {9078, z(Bank16400), z(Bank16400), 19, 12, 5, 300, 8, 13, 2, -2, K::Write, L::Table},
    {9079, z(Bank16300), z(Bank16300), 19, 12, 5, 300, 8, 0, 0, -2, K::Write, L::Table},
    {9080, z(Bank16300), z(Bank16300), 18, 11, 5, 300, 0, 0, 0, -2, K::Write, L::Table},
    {9083, z(Bank16850), z(Bank16850), 36, 29, 5, 300, 8, 0, 0, -2, K::Write, L::Table},
    {9084, z(Bank5), z(Bank5), 28, 21, 5, 300, 8, 0, 0, -2, K::Write, L::Table},
    {9088, z(Bank16850), z(Bank16850), 7, 0, 5, 300, 8, 1, 0, -2, K::Command, L::Table},
    {9089, z(Scratch), z(Scratch), 0, 0, 5, 300, 0, 0, 0, -2, K::Write, L::Builder},
    {9090, z(Scratch), z(Scratch), 0, 0, 5, 300, 0, 0, 0, -2, K::Read, L::Builder},
    {9091, z(Bank5), z(Bank5), 0, 11, 5, 300, 0, 12, 2, -2, K::Write, L::Table},
    {9092, z(Bank17100), z(Bank17100), 0, 14, 5, 300, 0, 14, 2, -2, K::Write, L::Table},
    {9102, z(Bank17100), z(Bank17100), 11, 4, 5, 300, 8, 5, 2, -2, K::Write, L::Table},
    {9105, z(Bank16850), z(Bank16850), 7, 0, 5, 300, 0, 1, 0, -2, K::Command, L::Table},
    {9106, z(File9011), z(File9011), 0, 0, 5, 300, 0, 4, 6, 4, K::Read, L::Table},
    {9108, z(Bank16300), z(Bank16300), 22, 15, 5, 300, 0, 17, 2, -2, K::Write, L::Table},
};

constexpr size_t kIdSpan = msg::kLast - msg::kFirst + 1;

// Id -> row position (or -1), built once at compile time from the catalogue.
constexpr std::array<int16_t, kIdSpan> kRowOf = [] {
  std::array<int16_t, kIdSpan> rows{};
  rows.fill(-1);
  for (size_t i = 0; i < std::size(kCatalogue); ++i) {
    rows[static_cast<size_t>(kCatalogue[i].id - msg::kFirst)] = static_cast<int16_t>(i);
  }
  return rows;
}();

static_assert(std::size(kCatalogue) == 78, "the catalogue has 78 messages");

}  // namespace

const MessageRow* FindMessage(int32_t id) {
  if (id < msg::kFirst || id > msg::kLast) return nullptr;
  const int16_t row = kRowOf[static_cast<size_t>(id - msg::kFirst)];
  return row < 0 ? nullptr : &kCatalogue[row];
}

}  // namespace quibra::protocol
