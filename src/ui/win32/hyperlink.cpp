#include "ui/win32/hyperlink.h"

namespace quibra::ui {
namespace {

// The window property that holds a hyperlink's state.
constexpr const char* kStateProperty = "QuibraHyperlink";
// The system's hand cursor (IDC_HAND).
constexpr WORD kHandCursor = 32649;
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);

struct LinkState {
  WNDPROC original = nullptr;
  HFONT underlined = nullptr;  // made from the control's font at the first hover
  HFONT normal = nullptr;
  bool hover = false;
};

LinkState* StateOf(HWND control) {
  return static_cast<LinkState*>(GetPropA(control, kStateProperty));
}

void Hover(HWND control, LinkState& state, bool hover) {
  if (state.hover == hover) return;
  state.hover = hover;
  if (hover) {
    // Told when the mouse leaves, to take the underline away again.
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
    TrackMouseEvent(&track);
    state.normal = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (state.underlined == nullptr && state.normal != nullptr) {
      LOGFONTA font{};
      if (GetObjectA(state.normal, sizeof font, &font) != 0) {
        font.lfUnderline = TRUE;
        state.underlined = CreateFontIndirectA(&font);
      }
    }
  }
  HFONT font = hover && state.underlined != nullptr ? state.underlined : state.normal;
  if (font != nullptr) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

LRESULT CALLBACK LinkProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  LinkState* state = StateOf(control);
  if (state == nullptr) return DefWindowProcA(control, message, wparam, lparam);
  const WNDPROC original = state->original;
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(kHandCursor)));
      return TRUE;
    case WM_MOUSEMOVE:
      Hover(control, *state, true);
      break;
    case WM_MOUSELEAVE:
      Hover(control, *state, false);
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      RemovePropA(control, kStateProperty);
      if (state->underlined != nullptr) DeleteObject(state->underlined);
      delete state;
      break;
    default:
      break;
  }
  return CallWindowProcA(original, control, message, wparam, lparam);
}

}  // namespace

void MakeHyperlink(HWND control) {
  if (control == nullptr || StateOf(control) != nullptr) return;
  auto* state = new LinkState;
  SetPropA(control, kStateProperty, state);
  state->original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LinkProc)));
}

bool PaintHyperlink(HWND control, HDC dc) {
  if (StateOf(control) == nullptr) return false;
  SetTextColor(dc, kLinkBlue);
  SetBkMode(dc, TRANSPARENT);
  return true;
}

}  // namespace quibra::ui
