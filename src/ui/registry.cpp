#include "platform/slot.h"
#include "ui/clipboard.h"
#include "ui/dialog_host.h"
#include "ui/message_box.h"
#include "ui/web_browser.h"

namespace quibra::ui {
namespace {
platform::Slot<DialogHost> g_host;
platform::Slot<MessageBoxHost> g_message_box;
platform::Slot<Clipboard> g_clipboard;
platform::Slot<WebBrowser> g_web_browser;
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

WebBrowser& web_browser() {
  return g_web_browser.get(system_web_browser);
}

void set_web_browser(WebBrowser* replacement) {
  g_web_browser.set(replacement);
}

}  // namespace quibra::ui
