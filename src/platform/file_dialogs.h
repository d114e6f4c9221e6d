// The system's common file dialogs (save and open) of the platform seam.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quibra::platform {

struct FileDialogRequest {
  bool save = true;               // the save dialog, else the open dialog
  uint32_t owner = 0;             // owner window (32-bit handle), 0 for none
  std::string filter_text;        // "HRM Files (*.hrm)"
  std::string pattern;            // "*.hrm"
  std::string title;              // the dialog's caption
  std::string default_ext;        // appended when the user types a name without one
  size_t max_path = 260;          // the longest path, terminator included
  bool prompt_overwrite = false;  // save: ask before replacing an existing file
};

// Contract: shows the dialog modally on the calling thread (the read-only box hidden, long
// names allowed) and returns the chosen full path, or nothing when the user cancelled or the
// dialog could not be shown. A system without dialogs (headless) always cancels.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::optional<std::string> ask(const FileDialogRequest& request) = 0;
};

FileDialogs& system_file_dialogs();

}  // namespace quibra::platform
