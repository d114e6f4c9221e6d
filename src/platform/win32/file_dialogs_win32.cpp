// The common save and open dialogs of Windows.
#include <windows.h>
// commdlg.h needs windows.h first.
#include <commdlg.h>

#include <vector>

#include "platform/file_dialogs.h"

namespace quibra::platform {
namespace {

class Win32FileDialogs final : public FileDialogs {
 public:
  std::optional<std::string> ask(const FileDialogRequest& request) override {
    // The filter is pairs of text and pattern, each ended by a zero, the list by a second zero.
    std::string filter = request.filter_text;
    filter.push_back('\0');
    filter += request.pattern;
    filter.push_back('\0');
    filter.push_back('\0');
    std::vector<char> path(request.max_path < 2 ? 2 : request.max_path, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = reinterpret_cast<HWND>(static_cast<uintptr_t>(request.owner));
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrTitle = request.title.c_str();
    ofn.lpstrDefExt = request.default_ext.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_LONGNAMES;
    if (request.prompt_overwrite) ofn.Flags |= OFN_OVERWRITEPROMPT;
    const BOOL chosen = request.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!chosen) return std::nullopt;
    return std::string(path.data());
  }
};

}  // namespace

FileDialogs& system_file_dialogs() {
  static Win32FileDialogs dialogs;
  return dialogs;
}

}  // namespace quibra::platform
