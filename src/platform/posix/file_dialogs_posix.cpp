// The headless host has no file dialogs: every request counts as cancelled, so a caller that
// leaves the path empty gets the cancelled-dialog failure.
#include "platform/file_dialogs.h"

namespace quibra::platform {
namespace {

class HeadlessFileDialogs final : public FileDialogs {
 public:
  std::optional<std::string> ask(const FileDialogRequest& /*request*/) override {
    return std::nullopt;
  }
};

}  // namespace

FileDialogs& system_file_dialogs() {
  static HeadlessFileDialogs dialogs;
  return dialogs;
}

}  // namespace quibra::platform
