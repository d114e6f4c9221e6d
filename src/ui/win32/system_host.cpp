// The win32 dialog host: real modal dialogs from the library's resource templates. Every change
// a procedure makes is also reported to the dialog observer, and the observer's presses arrive
// as button commands.
#include <windows.h>
// (kept apart so that include sorting leaves the order alone)
#include <commctrl.h>

#include <map>
#include <string>

#include "frame/module.h"
#include "ui/center_dialog.h"
#include "ui/dialog_host.h"
#include "ui/dialog_observer.h"
#include "ui/win32/hyperlink.h"

namespace quibra::ui {
namespace {

class Win32Window final : public DialogWindow, public PressTarget {
 public:
  Win32Window(const DialogTemplate& layout, DialogProcedure& procedure)
      : layout_(layout), procedure_(procedure) {}

  void attach(HWND dialog) { hwnd_ = dialog; }
  DialogProcedure& procedure() { return procedure_; }
  const DialogTemplate& layout() const { return layout_; }
  const char* name() const { return layout_.name; }

  void center() override {
    RECT dialog{}, owner{};
    GetWindowRect(hwnd_, &dialog);
    HWND parent = GetParent(hwnd_);
    if (parent == nullptr) parent = GetDesktopWindow();
    GetWindowRect(parent, &owner);
    const Point at = CenterDialog({dialog.left, dialog.top, dialog.right, dialog.bottom},
                                  {owner.left, owner.top, owner.right, owner.bottom},
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void set_caption(const std::string& text) override {
    SetWindowTextA(hwnd_, text.c_str());
    report(0);
  }
  void set_text(int32_t control, const std::string& text) override {
    SetDlgItemTextA(hwnd_, control, text.c_str());
    report(control);
  }
  void enable(int32_t control, bool enabled) override {
    EnableWindow(GetDlgItem(hwnd_, control), enabled ? TRUE : FALSE);
    report(control);
  }
  void show(int32_t control, bool visible) override {
    ShowWindow(GetDlgItem(hwnd_, control), visible ? SW_SHOW : SW_HIDE);
    report(control);
  }
  void set_progress_range(int32_t control, int32_t low, int32_t high, int32_t step) override {
    SendDlgItemMessageA(hwnd_, control, PBM_SETRANGE32, static_cast<WPARAM>(low),
                        static_cast<LPARAM>(high));
    SendDlgItemMessageA(hwnd_, control, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
    report(control);
  }
  void set_progress(int32_t control, int32_t position) override {
    SendDlgItemMessageA(hwnd_, control, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    report(control);
  }
  void set_bar_colour(int32_t control, int32_t colour) override {
    SendDlgItemMessageA(
        hwnd_, control, PBM_SETBARCOLOR, 0,
        colour == kDefaultColour ? static_cast<LPARAM>(CLR_DEFAULT) : static_cast<LPARAM>(colour));
    colours_[control] = colour;
    report(control);
  }
  void set_icon(int32_t control, int32_t resource) override {
    const auto instance = reinterpret_cast<HINSTANCE>(module().instance_handle);
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(resource));
    SendDlgItemMessageA(hwnd_, control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    icons_[control] = IconName(resource);
    report(control);
  }
  void play_animation(int32_t control, int32_t resource) override {
    HWND clip = GetDlgItem(hwnd_, control);
    const auto instance = reinterpret_cast<HINSTANCE>(module().instance_handle);
    SendMessageA(clip, ACM_OPENA, reinterpret_cast<WPARAM>(instance),
                 reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(resource)));
    SendMessageA(clip, ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF));
  }
  void stop_animation(int32_t control) override {
    SendDlgItemMessageA(hwnd_, control, ACM_STOP, 0, 0);
  }
  void start_timer(int32_t timer, uint32_t interval_ms) override {
    SetTimer(hwnd_, static_cast<UINT_PTR>(timer), interval_ms, nullptr);
  }
  void stop_timer(int32_t timer) override { KillTimer(hwnd_, static_cast<UINT_PTR>(timer)); }
  void end(int32_t result) override { EndDialog(hwnd_, result); }

  void press(int32_t control) override {
    PostMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), 0);
  }

 private:
  void report(int32_t control) {
    HWND item = control == 0 ? hwnd_ : GetDlgItem(hwnd_, control);
    char text[112] = {};
    GetWindowTextA(item, text, sizeof text);
    const auto icon = icons_.find(control);
    const std::string shown = icon != icons_.end() ? icon->second : std::string(text);
    const auto colour = colours_.find(control);
    const int32_t position =
        control == 0 ? 0
                     : static_cast<int32_t>(SendDlgItemMessageA(hwnd_, control, PBM_GETPOS, 0, 0));
    NotifyControl(layout_.name, control, shown, IsWindowEnabled(item) != FALSE,
                  IsWindowVisible(item) != FALSE || control == 0, position,
                  colour != colours_.end() ? colour->second : kDefaultColour);
  }

  const DialogTemplate& layout_;
  DialogProcedure& procedure_;
  HWND hwnd_ = nullptr;
  std::map<int32_t, std::string> icons_;
  std::map<int32_t, int32_t> colours_;
};

INT_PTR CALLBACK dialog_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      window = reinterpret_cast<Win32Window*>(lparam);
      SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(window));
      window->attach(hwnd);
      for (const ControlTemplate& control : window->layout().controls) {
        if (control.kind == ControlKind::Link) MakeHyperlink(GetDlgItem(hwnd, control.id));
      }
      NotifyOpened(window->name());
      PushPressTarget(window);
      window->procedure().on_start(*window);
      return TRUE;
    case WM_TIMER:
      if (window != nullptr) window->procedure().on_timer(*window, static_cast<int32_t>(wparam));
      return TRUE;
    case WM_COMMAND:
      if (window != nullptr && HIWORD(wparam) == BN_CLICKED) {
        window->procedure().on_button(*window, LOWORD(wparam));
      }
      return TRUE;
    case WM_CTLCOLORSTATIC:
      // A hyperlink draws its text in blue on the dialog's face.
      if (PaintHyperlink(reinterpret_cast<HWND>(lparam), reinterpret_cast<HDC>(wparam))) {
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      }
      return FALSE;
    case WM_CLOSE:
      // The close box counts as Cancel.
      PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return TRUE;
    case WM_DESTROY:
      if (window != nullptr) RemovePressTarget(window);
      return FALSE;
    default:
      return FALSE;
  }
}

class Win32Host final : public DialogHost {
 public:
  int32_t run_modal(DialogId dialog, uint32_t parent, DialogProcedure& procedure) override {
    const DialogTemplate& layout = Template(dialog);
    Win32Window window(layout, procedure);
    const auto instance = reinterpret_cast<HINSTANCE>(module().instance_handle);
    const INT_PTR result = DialogBoxParamA(instance, layout.name,
                                           reinterpret_cast<HWND>(static_cast<uintptr_t>(parent)),
                                           dialog_proc, reinterpret_cast<LPARAM>(&window));
    RemovePressTarget(&window);
    const int32_t code = result == -1 ? 0 : static_cast<int32_t>(result);
    NotifyClosed(layout.name, code);
    return code;
  }
};

}  // namespace

DialogHost& system_dialog_host() {
  static Win32Host host;
  return host;
}

}  // namespace quibra::ui
