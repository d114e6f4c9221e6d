// Dialogs are placed centred over their owner and kept on the screen.
#include <gtest/gtest.h>

#include "ui/center_dialog.h"

namespace quibra::ui {
namespace {

TEST(CenterDialogTest, CentresOverTheOwnerAndKeepsOnScreen) {
  const Rect dialog{0, 0, 200, 100};
  // Centred over an owner in the middle of the screen.
  Point at = CenterDialog(dialog, {100, 100, 500, 400}, 1024, 768);
  EXPECT_EQ(at.x, 200);
  EXPECT_EQ(at.y, 200);
  // An owner hanging off the left and top: clamped to 0.
  at = CenterDialog(dialog, {-300, -200, -100, 0}, 1024, 768);
  EXPECT_EQ(at.x, 0);
  EXPECT_EQ(at.y, 0);
  // Off the right and bottom: pulled back onto the screen.
  at = CenterDialog(dialog, {1000, 700, 1200, 900}, 1024, 768);
  EXPECT_EQ(at.x, 824);
  EXPECT_EQ(at.y, 668);
  // A dialog wider than the screen keeps its left edge at 0: the far clamp does not apply then.
  at = CenterDialog({0, 0, 1200, 100}, {0, 0, 1024, 768}, 1024, 768);
  EXPECT_EQ(at.x, 0);
}

}  // namespace
}  // namespace quibra::ui
