// The procedure of the "IRCOMM_CONNECTION" dialog: opens the library's IrCOMM service, waits up
// to 21 s for a phone to send its exercise memory, and offers Restart when none did. A link
// under the buttons opens the maker's page about phones that do this.
#pragma once

#include <cstdint>

#include "ui/dialog_window.h"

namespace quibra::ui {

// The controls of the dialog that the transfer dialogs lack.
enum MobileControl : int32_t {
  kIconMobileWaiting = 110,
  kIconMobileSpare = 111,  // on the template, never shown
  kIconMobileNoAnswer = 115,
  kMobileLink = 1012,
};

inline constexpr int32_t kMobileTimer = 0;
inline constexpr uint32_t kMobilePollMs = 300;
// 70 ticks of 300 ms: the phone has 21 s.
inline constexpr int32_t kMobileTimeoutTicks = 70;
inline constexpr uint32_t kMobileRestartPauseMs = 1000;
inline constexpr const char* kMobileLinkText = "Orvek Mobile Connectivity";
// The maker's page about sending exercises from a phone.
inline constexpr const char* kMobilePageAddress = "https://www.orvek.com/mobile-connectivity";

class MobileProcedure final : public DialogProcedure {
 public:
  void on_start(DialogWindow& window) override;
  void on_timer(DialogWindow& window, int32_t timer) override;
  void on_button(DialogWindow& window, int32_t control) override;

  // The user pressed Restart: the caller opens the dialog again.
  bool retry_requested() const { return retry_; }

 private:
  int32_t ticks_ = 0;
  bool retry_ = false;
};

}  // namespace quibra::ui
