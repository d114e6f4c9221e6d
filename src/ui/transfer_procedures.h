// The procedures of the transfer dialog (one message with Retry and Cancel) and of the no-wait
// dialog (a command the unit does not answer).
#pragma once

#include "ui/dialog_window.h"
#include "ui/transfer_link.h"

namespace quibra::ui {

// Timer of the transfer procedures.
inline constexpr int32_t kStatusTimer = 0;
inline constexpr uint32_t kStatusPollMs = 300;
inline constexpr uint32_t kNoWaitMs = 500;

// IR_CONNECTION for the current message: sends it, follows the collective status every
// 300 ms, closes with 1 when it completes, offers Retry after a connection error or no answer
// (closes with 0 on no answer when the message is a probe) and tells its window that it waits
// for the choice, closes with 0 on Cancel without stopping the engine.
class TransferProcedure final : public DialogProcedure {
 public:
  explicit TransferProcedure(TransferLink& link) : link_(link) {}
  void on_start(DialogWindow& window) override;
  void on_timer(DialogWindow& window, int32_t timer) override;
  void on_button(DialogWindow& window, int32_t control) override;

 private:
  TransferLink& link_;
  uint32_t mark_ = 0;  // the cancel requests before the last send
};

// Whether the unit acknowledges a command it otherwise does not answer (factory defaults, sleep,
// memory restore): the engine then waits for that acknowledgement as for any answer. Watch mode
// goes out without one, and display-off has no answer in the catalogue.
bool CommandIsAcknowledged(int32_t id);

// IR_CONNECTION_NOWAIT: sends the current message and stays 500 ms. A command that is
// acknowledged keeps the dialog until the engine's final status; the result is 1 only when the
// message went out and, where one is due, the acknowledgement came. It closes with 0 at once
// when no link took the message: it has no Retry to wait for.
class NoWaitProcedure final : public DialogProcedure {
 public:
  explicit NoWaitProcedure(TransferLink& link) : link_(link) {}
  void on_start(DialogWindow& window) override;
  void on_timer(DialogWindow& window, int32_t timer) override;
  void on_button(DialogWindow& window, int32_t control) override;

 private:
  TransferLink& link_;
  bool sent_ = false;
  uint32_t mark_ = 0;  // the cancel requests before the send
};

}  // namespace quibra::ui
