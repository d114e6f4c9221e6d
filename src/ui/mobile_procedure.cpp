#include "ui/mobile_procedure.h"

#include <cstdio>
#include <string>

#include "frame/com_texts.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/mobile_link.h"
#include "protocol/transfer_texts.h"
#include "ui/message_box.h"
#include "ui/web_browser.h"

namespace quibra::ui {
namespace {

constexpr const char* kOpenFailureCaption = "Orvek";

void Leave(DialogWindow& window, int32_t result) {
  window.stop_timer(kMobileTimer);
  protocol::CloseMobileSockets();
  window.end(result);
}

}  // namespace

void MobileProcedure::on_start(DialogWindow& window) {
  window.center();
  ticks_ = 0;
  window.set_caption(frame::GetComText(frame::kTextTitle));
  const std::string shared = protocol::SharedDialogText();
  window.set_text(kStatusText, shared.empty() ? frame::GetComText(frame::kTextReading) : shared);
  window.set_text(kButtonCancel, frame::GetComText(frame::kTextCancel));
  window.set_text(kButtonRetry, frame::GetComText(frame::kTextRetry));
  window.enable(kButtonRetry, false);

  const protocol::MobileOpenResult opened = protocol::OpenMobileServer();
  if (opened.error != 0) {
    protocol::CloseMobileSockets();
    char text[96];
    std::snprintf(text, sizeof text, "An error %d / %d occurred in opening IRComm connection",
                  static_cast<int>(opened.stage), static_cast<int>(opened.error));
    message_box_host().show_stop(text, kOpenFailureCaption);
    window.end(0);
    return;
  }
  protocol::StartMobileAcceptThread();
  window.start_timer(kMobileTimer, kMobilePollMs);
  window.show(kIconMobileWaiting, true);
  window.show(kIconMobileSpare, false);
  window.show(kIconMobileNoAnswer, false);
  window.set_text(kStatusText, frame::GetComText(frame::kTextReading));
  window.set_text(kMobileLink, kMobileLinkText);
  window.show(kMobileLink, true);
}

void MobileProcedure::on_timer(DialogWindow& window, int32_t timer) {
  if (timer != kMobileTimer) return;
  if (++ticks_ == kMobileTimeoutTicks) {
    window.stop_timer(kMobileTimer);
    protocol::CloseMobileSockets();
    window.enable(kButtonRetry, true);
    window.show(kIconMobileNoAnswer, true);
    window.show(kIconMobileWaiting, false);
    window.show(kIconMobileSpare, false);
    window.set_text(kStatusText, frame::GetComText(frame::kTextNoAnswer));
    window.await_choice();
    return;
  }
  if (module().mobile.received) Leave(window, 1);
}

void MobileProcedure::on_button(DialogWindow& window, int32_t control) {
  switch (control) {
    case kButtonCancel:
      Leave(window, 0);
      break;
    case kButtonRetry:
      retry_ = true;
      window.stop_timer(kMobileTimer);
      protocol::CloseMobileSockets();
      platform::clock().sleep_ms(kMobileRestartPauseMs);
      window.end(0);
      break;
    case kMobileLink:
      web_browser().open(kMobilePageAddress);
      break;
    default:
      break;
  }
}

}  // namespace quibra::ui
