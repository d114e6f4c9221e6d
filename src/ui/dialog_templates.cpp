#include "ui/dialog_templates.h"

#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>

// Made at build time by tools/resources/dialog_templates.py from resources/quibra.rc, the script
// Windows builds its dialogs from: both hosts show the same controls.
#include "ui/dialog_template_table.h"
#include "ui/dialog_window.h"

namespace quibra::ui {
namespace {

using generated::kDialogTemplates;

// The template of each dialog, by its name in the resource script, in the order of DialogId.
constexpr std::string_view kDialogNames[] = {
    "IR_CONNECTION",      "IR_CONNECTION_NOWAIT", "IR_CONNECTION_NEW",
    "PIPCAST_CONNECTION", "TONVOX_CONNECTION",    "IRCOMM_CONNECTION",
};

// Where a dialog's template stands in the generated table. A name the script lacks stops the
// build: the throw cannot be evaluated at compile time.
consteval size_t TableIndex(DialogId id) {
  for (size_t i = 0; i < std::size(kDialogTemplates); ++i) {
    if (kDialogTemplates[i].name == kDialogNames[static_cast<size_t>(id)]) return i;
  }
  throw "the resource script has no template of this name";
}

constexpr size_t kTableIndex[] = {
    TableIndex(DialogId::Connection),    TableIndex(DialogId::ConnectionNoWait),
    TableIndex(DialogId::ConnectionNew), TableIndex(DialogId::Pipcast),
    TableIndex(DialogId::Tonvox),        TableIndex(DialogId::Mobile),
};
static_assert(std::size(kTableIndex) == std::size(kDialogNames));

}  // namespace

std::string IconName(int32_t resource) {
  char name[16];
  std::snprintf(name, sizeof name, "#%d", static_cast<int>(resource));
  return name;
}

const DialogTemplate& Template(DialogId id) {
  return kDialogTemplates[kTableIndex[static_cast<size_t>(id)]];
}

}  // namespace quibra::ui
