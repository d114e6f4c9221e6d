// The message box and clipboard seams: the headless message box reports to the dialog observer
// and returns at once, the headless clipboard keeps the last text, and both can be replaced.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quibra/quibra.h"
#include "ui/clipboard.h"
#include "ui/message_box.h"

namespace quibra::testing {
namespace {

struct Seen {
  std::vector<QuibraDialogEvent> events;
};

void QUIBRA_CALL Record(const QuibraDialogEvent* event, void* context) {
  static_cast<Seen*>(context)->events.push_back(*event);
}

TEST(MessageBoxTest, OverlongTextsAreCutAndTerminated) {
  Seen seen;
  fnQuibraExt_SetDialogObserver(Record, &seen);
  ui::message_box_host().show(std::string(300, 't'), std::string(100, 'c'));
  fnQuibraExt_SetDialogObserver(nullptr, nullptr);
  ASSERT_EQ(seen.events.size(), 1U);
  EXPECT_EQ(std::string(seen.events[0].Text), std::string(111, 't'));
  EXPECT_EQ(std::string(seen.events[0].Caption), std::string(63, 'c'));
}

TEST(ClipboardTest, HeadlessClipboardKeepsTheLastText) {
  ui::Clipboard& board = ui::system_clipboard();
  EXPECT_TRUE(board.put_text("1\r\n2\r\n"));
  EXPECT_EQ(board.text(), "1\r\n2\r\n");
  EXPECT_TRUE(board.put_text(""));
  EXPECT_EQ(board.text(), "");
  EXPECT_EQ(&ui::clipboard(), &board);
}

}  // namespace
}  // namespace quibra::testing
