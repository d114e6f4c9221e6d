#include "exercise/mobile_download.h"

#include "exercise/analysis.h"
#include "protocol/mobile_link.h"
#include "ui/dialog_host.h"
#include "ui/mobile_procedure.h"

namespace quibra::exercise {
namespace {

constexpr int32_t kReceived = 1;
constexpr int32_t kRestart = 2;
// The phone sends its whole memory: exercise 0 of a whole-memory image.
constexpr int32_t kFirstExercise = 0;
constexpr int32_t kWholeMemoryImage = 1;

}  // namespace

int32_t ReadFromMobile(uint32_t parent) {
  ui::MobileProcedure procedure;
  const int32_t result = ui::dialog_host().run_modal(ui::DialogId::Mobile, parent, procedure);
  // Every way out of the dialog has closed the sockets (this closes them once more, should a
  // host have ended it otherwise); the accept thread ends with them.
  protocol::FinishMobileAcceptThread();
  if (result == kReceived) return AnalyzeFile(kFirstExercise, kWholeMemoryImage);
  return procedure.retry_requested() ? kRestart : 0;
}

}  // namespace quibra::exercise
