// The dialog templates the headless host builds from are the ones the resource script gives
// Windows, control by control; and dialogs are placed centred and on the screen.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "ui/center_dialog.h"
#include "ui/dialog_templates.h"

namespace quibra::ui {
namespace {

struct RcControl {
  std::string kind;
  std::string caption;
  int x, y, w, h;
  std::string style;
};

struct RcDialog {
  int w = 0, h = 0;
  std::map<int, RcControl> controls;
};

std::map<std::string, RcDialog> parse_rc() {
  std::ifstream file(QUIBRA_SOURCE_DIR "/resources/quibra.rc");
  std::map<std::string, RcDialog> dialogs;
  const std::regex head(R"(^(\w+) DIALOG 0, 0, (\d+), (\d+))");
  const std::regex simple(
      R"re(^\s+(LTEXT|CTEXT|ICON|PUSHBUTTON) "([^"]*)", (\d+), (\d+), (\d+), (\d+), (\d+)(.*))re");
  const std::regex custom(
      R"re(^\s+CONTROL "", (\d+), "(\w+)", ([^,]*), (\d+), (\d+), (\d+), (\d+))re");
  std::string line;
  RcDialog* current = nullptr;
  std::smatch m;
  while (std::getline(file, line)) {
    if (std::regex_search(line, m, head)) {
      current = &dialogs[m[1]];
      current->w = std::stoi(m[2]);
      current->h = std::stoi(m[3]);
    } else if (current != nullptr && std::regex_search(line, m, simple)) {
      current->controls[std::stoi(m[3])] = {
          m[1], m[2], std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[6]), std::stoi(m[7]), m[8]};
    } else if (current != nullptr && std::regex_search(line, m, custom)) {
      current->controls[std::stoi(m[1])] = {
          m[2], "", std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[6]), std::stoi(m[7]), m[3]};
    }
  }
  return dialogs;
}

std::string rc_kind(ControlKind kind) {
  switch (kind) {
    case ControlKind::Text:
      return "LTEXT";
    case ControlKind::CenteredText:
      return "CTEXT";
    case ControlKind::Icon:
      return "ICON";
    case ControlKind::Button:
      return "PUSHBUTTON";
    case ControlKind::ProgressBar:
    case ControlKind::LevelBar:
      return "msctls_progress32";
    case ControlKind::Animation:
      return "SysAnimate32";
  }
  return "";
}

TEST(DialogLayout, ResourceScriptMatchesTheTemplateTable) {
  const auto dialogs = parse_rc();
  ASSERT_EQ(dialogs.size(), 5u);
  for (DialogId id : {DialogId::Connection, DialogId::ConnectionNoWait, DialogId::ConnectionNew,
                      DialogId::Pipcast, DialogId::Tonvox}) {
    const DialogTemplate& t = Template(id);
    SCOPED_TRACE(t.name);
    ASSERT_TRUE(dialogs.count(t.name));
    const RcDialog& rc = dialogs.at(t.name);
    EXPECT_EQ(rc.w, t.width);
    EXPECT_EQ(rc.h, t.height);
    EXPECT_EQ(rc.controls.size(), t.controls.size());
    for (const ControlTemplate& control : t.controls) {
      SCOPED_TRACE(control.id);
      ASSERT_TRUE(rc.controls.count(control.id));
      const RcControl& c = rc.controls.at(control.id);
      EXPECT_EQ(c.kind, rc_kind(control.kind));
      EXPECT_EQ(c.style.find("PBS_VERTICAL") != std::string::npos,
                control.kind == ControlKind::LevelBar);
      EXPECT_EQ(c.x, control.x);
      EXPECT_EQ(c.y, control.y);
      EXPECT_EQ(c.w, control.width);
      EXPECT_EQ(c.h, control.height);
      if (control.caption != nullptr) {
        EXPECT_EQ(c.caption, control.caption);
      }
      EXPECT_EQ(c.style.find("WS_DISABLED") == std::string::npos, control.enabled);
      EXPECT_EQ(c.style.find("NOT WS_VISIBLE") == std::string::npos, control.visible);
    }
  }
}

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
