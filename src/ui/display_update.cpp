#include "ui/display_update.h"

#include "frame/com_texts.h"
#include "protocol/message_status.h"
#include "protocol/transfer_texts.h"

namespace quibra::ui {
namespace {

enum class TextRule : uint8_t {
  SelectThenShared,        // text selection when empty or forced, then the shared text
  SharedOrStarting,        // the shared text unless empty or forced, else text 5
  ConnectionErrors,        // text 4
  NoAnswer,                // text 3
  SelectIfEmptyThenShared  // text selection only when empty, then the shared text
};

enum class Shown : uint8_t { No, Yes, OnEvenTick };

struct DisplayRow {
  int32_t statuses[3];
  int32_t status_count;
  TextRule text;
  bool retry_enabled;
  Shown connecting1;  // 1003
  Shown connecting2;  // 1007
  Shown no_answer;    // 1004
  Shown wait;         // 1001
};

constexpr DisplayRow kDisplay[] = {
    {{protocol::kStatusWaiting, protocol::kStatusArriving, protocol::kStatusBatchStarted},
     3,
     TextRule::SelectThenShared,
     false,
     Shown::Yes,
     Shown::OnEvenTick,
     Shown::No,
     Shown::No},
    {{protocol::kStatusCompleted},
     1,
     TextRule::SharedOrStarting,
     false,
     Shown::No,
     Shown::No,
     Shown::No,
     Shown::Yes},
    {{protocol::kStatusNoLink},
     1,
     TextRule::ConnectionErrors,
     true,
     Shown::No,
     Shown::No,
     Shown::Yes,
     Shown::No},
    {{protocol::kStatusNoAnswer},
     1,
     TextRule::NoAnswer,
     true,
     Shown::No,
     Shown::No,
     Shown::Yes,
     Shown::No},
    {{protocol::kStatusSending},
     1,
     TextRule::SelectIfEmptyThenShared,
     false,
     Shown::Yes,
     Shown::No,
     Shown::No,
     Shown::No},
};

const DisplayRow* row_for(int32_t status) {
  for (const DisplayRow& row : kDisplay) {
    for (int32_t i = 0; i < row.status_count; ++i) {
      if (row.statuses[i] == status) return &row;
    }
  }
  return nullptr;
}

std::string status_text(TextRule rule, bool force) {
  using protocol::SelectTransferText;
  using protocol::SharedDialogText;
  switch (rule) {
    case TextRule::SelectThenShared:
      if (force || SharedDialogText().empty()) SelectTransferText(true);
      return SharedDialogText();
    case TextRule::SharedOrStarting:
      if (!force && !SharedDialogText().empty()) return SharedDialogText();
      return frame::GetComText(frame::kTextStarting);
    case TextRule::ConnectionErrors:
      return frame::GetComText(frame::kTextConnectionErrors);
    case TextRule::NoAnswer:
      return frame::GetComText(frame::kTextNoAnswer);
    case TextRule::SelectIfEmptyThenShared:
      SelectTransferText(false);
      return SharedDialogText();
  }
  return {};
}

bool shown(Shown rule, int32_t tick) {
  // Odd means a remainder of exactly 1, so a negative odd tick counts as even.
  const bool even = tick % 2 != 1;
  return rule == Shown::Yes || (rule == Shown::OnEvenTick && even);
}

}  // namespace

void UpdateDisplay(DialogWindow& window, int32_t status, int32_t tick, bool force) {
  const DisplayRow* row = row_for(status);
  if (row == nullptr) return;  // any other status changes nothing
  window.set_text(kStatusText, status_text(row->text, force));
  window.enable(kButtonRetry, row->retry_enabled);
  window.show(kIconConnecting1, shown(row->connecting1, tick));
  window.show(kIconConnecting2, shown(row->connecting2, tick));
  window.show(kIconNoAnswer, shown(row->no_answer, tick));
  window.show(kIconWaitConnect, shown(row->wait, tick));
}

void UpdateDisplayAndTick(DialogWindow& window, TransferLink& link, int32_t& tick, bool force) {
  UpdateDisplay(window, link.status(), tick, force);
  ++tick;
}

void ShowProgress(DialogWindow& window, TransferLink& link) {
  if (const int32_t progress = link.progress(); progress != 0) {
    window.set_progress(kProgressBar, progress);
  }
}

}  // namespace quibra::ui
