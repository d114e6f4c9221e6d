// Where a dialog goes: centred over its owner window (or the desktop), kept on the screen.
#pragma once

#include <cstdint>

namespace quibra::ui {

struct Rect {
  int32_t left, top, right, bottom;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
};

struct Point {
  int32_t x, y;
};

// The top-left corner for a dialog centred over owner, clamped so that its left and top edges
// are not below 0, and otherwise its right and bottom edges not beyond the screen.
Point CenterDialog(const Rect& dialog, const Rect& owner, int32_t screen_width,
                   int32_t screen_height);

}  // namespace quibra::ui
