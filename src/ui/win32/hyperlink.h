// The hyperlink control: a static text control (with SS_NOTIFY, so that it reports clicks to
// its dialog as a command) that shows the hand cursor over its text, draws the text in blue and
// switches to an underlined copy of its font while the mouse is over it.
#pragma once

#include <windows.h>

namespace quibra::ui {

// Subclasses the static; it is restored when the control is destroyed.
void MakeHyperlink(HWND control);
// For the dialog's WM_CTLCOLORSTATIC: colours a hyperlink's text and returns true; false for
// any other control.
bool PaintHyperlink(HWND control, HDC dc);

}  // namespace quibra::ui
