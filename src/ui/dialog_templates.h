// The layouts of the library's dialog templates (dialog units). The table is generated at build
// time from the resource script that Windows builds its dialogs from
// (tools/resources/dialog_templates.py), and the headless host builds its controls from it.
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
  Link,  // a text that reports clicks, drawn as a hyperlink
};

struct ControlTemplate {
  int32_t id;
  ControlKind kind;
  int16_t x, y, width, height;
  // The text of the control's line: a button's label, an icon's resource name, a text's first
  // text; null when empty.
  const char* caption;
  bool enabled;
  bool visible;
};

struct DialogTemplate {
  const char* name;
  int16_t width, height;
  std::span<const ControlTemplate> controls;
};

enum class DialogId : uint8_t {
  Connection,
  ConnectionNoWait,
  ConnectionNew,
  Pipcast,
  Tonvox,
  Mobile,
};

const DialogTemplate& Template(DialogId id);

}  // namespace quibra::ui
