#include <atomic>

#include "ui/clipboard.h"
#include "ui/dialog_host.h"
#include "ui/message_box.h"

namespace quibra::ui {
namespace {
std::atomic<DialogHost*> g_host{nullptr};
std::atomic<MessageBoxHost*> g_message_box{nullptr};
std::atomic<Clipboard*> g_clipboard{nullptr};
}  // namespace

DialogHost& dialog_host() {
  DialogHost* replacement = g_host.load(std::memory_order_acquire);
  return replacement != nullptr ? *replacement : system_dialog_host();
}

void set_dialog_host(DialogHost* replacement) {
  g_host.store(replacement, std::memory_order_release);
}

MessageBoxHost& message_box_host() {
  MessageBoxHost* replacement = g_message_box.load(std::memory_order_acquire);
  return replacement != nullptr ? *replacement : system_message_box_host();
}

void set_message_box_host(MessageBoxHost* replacement) {
  g_message_box.store(replacement, std::memory_order_release);
}

Clipboard& clipboard() {
  Clipboard* replacement = g_clipboard.load(std::memory_order_acquire);
  return replacement != nullptr ? *replacement : system_clipboard();
}

void set_clipboard(Clipboard* replacement) {
  g_clipboard.store(replacement, std::memory_order_release);
}

}  // namespace quibra::ui
