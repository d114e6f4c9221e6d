// The layouts of the library's dialog templates (dialog units), as the resource script defines
// them for Windows; the headless host builds its controls from the same table.
#pragma once

#include <cstdint>
#include <span>

namespace quibra::ui {

enum class ControlKind : uint8_t {
  Text,
  CenteredText,
  Icon,
  Button,
  ProgressBar,
  LevelBar,  // a vertical progress bar
  Animation,
};

struct ControlTemplate {
  int32_t id;
  ControlKind kind;
  int16_t x, y, width, height;
  const char* caption;  // button label or icon resource name; null for none
  bool enabled;
  bool visible;
};

struct DialogTemplate {
  const char* name;
  int16_t width, height;
  std::span<const ControlTemplate> controls;
};

enum class DialogId : uint8_t { Connection, ConnectionNoWait, ConnectionNew, Pipcast, Tonvox };

const DialogTemplate& Template(DialogId id);

}  // namespace quibra::ui
