#include "platform/slot.h"
#include "ui/clipboard.h"
#include "ui/dialog_host.h"
#include "ui/message_box.h"

namespace quibra::ui {
namespace {
platform::Slot<DialogHost> g_host;
platform::Slot<MessageBoxHost> g_message_box;
platform::Slot<Clipboard> g_clipboard;
}  // namespace

DialogHost& dialog_host() {
  return g_host.get(system_dialog_host);
}

void set_dialog_host(DialogHost* replacement) {
  g_host.set(replacement);
}

MessageBoxHost& message_box_host() {
  return g_message_box.get(system_message_box_host);
}

void set_message_box_host(MessageBoxHost* replacement) {
  g_message_box.set(replacement);
}

Clipboard& clipboard() {
  return g_clipboard.get(system_clipboard);
}

void set_clipboard(Clipboard* replacement) {
  g_clipboard.set(replacement);
}

}  // namespace quibra::ui
