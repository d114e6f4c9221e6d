#include "protocol/banks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "protocol/exercise_memory.h"

namespace quibra::protocol {
namespace {

class BanksTest : public ::testing::Test {
 protected:
  std::unique_ptr<Banks> banks_ = std::make_unique<Banks>();
};

TEST_F(BanksTest, IndexFiveCarriesTheParameter) {
  // Bank 16200: the parameter, repeated in the high nibble when the stored byte has one.
  ASSERT_TRUE(banks_->write(BankId::Bank16200, 3, 16205, 0x0F));
  EXPECT_EQ(banks_->read(BankId::Bank16200, 3, 16205), 3);
  ASSERT_TRUE(banks_->write(BankId::Bank16200, 3, 16205, 0x10));
  EXPECT_EQ(banks_->read(BankId::Bank16200, 3, 16205), 0x33);
  // Bank 16500: always the parameter.
  banks_->write(BankId::Bank16500, 6, 16505, 0xF0);
  EXPECT_EQ(banks_->read(BankId::Bank16500, 6, 16505), 6);
  // Bank 16600 numbers its sub-images 1..7.
  banks_->write(BankId::Bank16600, 7, 16605, 0x20);
  EXPECT_EQ(banks_->read(BankId::Bank16600, 7, 16605), 7 + 16 * 7);
  // Other banks store index 5 like any byte.
  banks_->write(BankId::Bank16300, 0, 16305, 0xAB);
  EXPECT_EQ(banks_->read(BankId::Bank16300, 0, 16305), 0xAB);
  banks_->write(BankId::Bank5, 0, 5, 0x42);
  EXPECT_EQ(banks_->read(BankId::Bank5, 0, 5), 0x42);
}

TEST_F(BanksTest, BoundsOfIndexesAndSubImages) {
  EXPECT_FALSE(banks_->write(BankId::Bank16500, 8, 16510, 1));
  EXPECT_FALSE(banks_->write(BankId::Bank16500, 0, 16540, 1));
  EXPECT_TRUE(banks_->write(BankId::Bank16500, 7, 16539, 1));
  EXPECT_FALSE(banks_->write(BankId::Bank16600, 0, 16610, 1));
  EXPECT_FALSE(banks_->write(BankId::Bank16600, 8, 16610, 1));
  EXPECT_FALSE(banks_->write(BankId::Bank5, 0, 4, 1));
  EXPECT_FALSE(banks_->write(BankId::Bank5, 0, 61, 1));
  EXPECT_FALSE(banks_->write(BankId::Bank17200, 20, 17200, 1));
  EXPECT_TRUE(banks_->write(BankId::Bank17200, 19, 17219, 9));
  EXPECT_FALSE(banks_->write(BankId::Scratch, 0, 500, 1));
  EXPECT_FALSE(banks_->write(BankId::Scratch, 0, -1, 1));
  EXPECT_EQ(banks_->read(BankId::Bank16500, 8, 16510), 0);
  EXPECT_EQ(banks_->read(BankId::Bank16500, 0, 16540), 0);
  EXPECT_EQ(banks_->read(BankId::Bank17200, 19, 17219), 9);
}

TEST_F(BanksTest, SubImagesAndBanksNeverShareStorage) {
  // Fill the last byte of every sub-image and the first of the next bank with distinct values.
  for (int32_t sub = 0; sub < 8; ++sub)
    banks_->write(BankId::Bank16200, sub, 16262, static_cast<uint8_t>(sub + 1));
  banks_->write(BankId::Bank16300, 0, 16300, 0x77);
  for (int32_t sub = 0; sub < 8; ++sub)
    EXPECT_EQ(banks_->read(BankId::Bank16200, sub, 16262), sub + 1);
  EXPECT_EQ(banks_->read(BankId::Bank16300, 0, 16300), 0x77);
  banks_->write(BankId::File9022, 0, 10, 0x22);
  EXPECT_EQ(banks_->read(BankId::File9023, 0, 10), 0);

  banks_->clear(BankId::Bank16200);
  for (int32_t sub = 0; sub < 8; ++sub)
    EXPECT_EQ(banks_->read(BankId::Bank16200, sub, 16262), 0);
  EXPECT_EQ(banks_->read(BankId::Bank16300, 0, 16300), 0x77);

  banks_->set_scratch(499, 0x99);
  EXPECT_EQ(banks_->scratch(499), 0x99);
  banks_->clear_scratch();
  EXPECT_EQ(banks_->scratch(499), 0);
}

TEST(ExerciseMemoryTest, GrowsInStepsAndReadsOneBased) {
  ExerciseMemory memory;
  EXPECT_FALSE(memory.store(1, 1));  // no buffer before allocate
  memory.allocate();
  EXPECT_EQ(memory.capacity(), 100);
  for (int32_t position = 1; position <= 150; ++position) {
    ASSERT_TRUE(memory.store(position, static_cast<uint8_t>(position)));
  }
  EXPECT_EQ(memory.capacity(), 200);
  // The count is what the downloader says, not the highest position stored.
  EXPECT_EQ(memory.count(), 0);
  EXPECT_EQ(memory.at(1), 0);
  ASSERT_TRUE(memory.set_count(120));
  EXPECT_EQ(memory.count(), 120);
  EXPECT_EQ(memory.at(0), 0);
  EXPECT_EQ(memory.at(1), 1);
  EXPECT_EQ(memory.at(120), 120);
  EXPECT_EQ(memory.at(121), 0);
  EXPECT_FALSE(memory.set_count(201));
  EXPECT_FALSE(memory.set_count(-1));
  EXPECT_FALSE(memory.store(0, 1));
  EXPECT_FALSE(memory.store(262145, 1));
  // A jump far past the capacity is refused rather than written out of bounds.
  EXPECT_FALSE(memory.store(5000, 1));
  memory.allocate();
  EXPECT_EQ(memory.capacity(), 100);
  EXPECT_EQ(memory.count(), 0);
  EXPECT_EQ(memory.at(1), 0);
  memory.release();
  EXPECT_EQ(memory.at(1), 0);
}

// Decoders share one copy of the counted bytes until the buffer changes; a reader that holds the
// old copy keeps it whole.
TEST(ExerciseMemoryTest, CountedBytesAreSharedUntilTheBufferChanges) {
  ExerciseMemory memory;
  memory.allocate();
  for (int32_t position = 1; position <= 3; ++position)
    ASSERT_TRUE(memory.store(position, static_cast<uint8_t>(10 * position)));
  ASSERT_TRUE(memory.set_count(2));
  const auto first = memory.counted_bytes();
  EXPECT_EQ(*first, (std::vector<uint8_t>{10, 20}));
  EXPECT_EQ(memory.counted_bytes(), first);  // the same copy, not a new one
  ASSERT_TRUE(memory.store(2, 99));
  EXPECT_EQ(*memory.counted_bytes(), (std::vector<uint8_t>{10, 99}));
  EXPECT_EQ(*first, (std::vector<uint8_t>{10, 20}));
  ASSERT_TRUE(memory.set_count(3));
  EXPECT_EQ(*memory.counted_bytes(), (std::vector<uint8_t>{10, 99, 30}));
  memory.allocate();
  EXPECT_TRUE(memory.counted_bytes()->empty());
  memory.release();
  EXPECT_TRUE(memory.counted_bytes()->empty());
}

// An application polls the accessors while the message thread downloads: every byte it reads is
// one the download stored, never storage a growth step freed (the thread sanitizer watches).
TEST(ExerciseMemoryTest, PollingDuringADownloadSeesOnlyStoredBytes) {
  ExerciseMemory memory;
  memory.allocate();
  std::atomic<bool> done{false};
  std::thread download([&] {
    for (int32_t round = 0; round < 3; ++round) {
      memory.allocate();
      for (int32_t position = 1; position <= 20000; ++position) {
        memory.store(position, static_cast<uint8_t>(position % 251 + 1));
        memory.set_count(position);
      }
    }
    memory.release();
    done = true;
  });
  int32_t wrong = 0;
  while (!done) {
    const int32_t count = memory.count();
    const uint8_t last = memory.at(count);
    if (count > 0 && last != 0 && last != count % 251 + 1) ++wrong;
  }
  download.join();
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace quibra::protocol
