#include "ui/center_dialog.h"

namespace quibra::ui {
namespace {

// One axis: centre, then clamp the near edge, and only when that did not apply the far edge.
int32_t place(int32_t owner_start, int32_t owner_size, int32_t size, int32_t screen) {
  int32_t start = owner_start + (owner_size - size) / 2;
  if (start < 0) {
    start = 0;
  } else if (start + size > screen) {
    start = screen - size;
  }
  return start;
}

}  // namespace

Point CenterDialog(const Rect& dialog, const Rect& owner, int32_t screen_width,
                   int32_t screen_height) {
  return {place(owner.left, owner.width(), dialog.width(), screen_width),
          place(owner.top, owner.height(), dialog.height(), screen_height)};
}

}  // namespace quibra::ui
