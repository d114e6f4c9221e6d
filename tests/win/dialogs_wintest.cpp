// The win32 dialog host with real windows: every dialog template of the library's resources
// is run modally, painted, captured into a BMP picture (dialogs.sh turns them into PNGs) and
// ended by its procedure. The test program stands in for quibra.dll: the templates are linked
// into it, and it registers the common controls as the DLL's entry point does.
#include <windows.h>
// (kept apart so that include sorting leaves the order alone)
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "frame/lifecycle.h"
#include "ui/dialog_host.h"
#include "ui/dialog_templates.h"

namespace quibra::testing {
namespace {

using ui::DialogId;

constexpr int32_t kPaintTimer = 1;
constexpr int32_t kCapturedResult = 7;

// The visible dialog window of the calling thread (the modal dialog's).
HWND ThreadDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM out) {
        char name[16] = {};
        GetClassNameA(hwnd, name, sizeof name);
        if (std::string(name) != "#32770" || !IsWindowVisible(hwnd)) return TRUE;
        *reinterpret_cast<HWND*>(out) = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // 24-bit rows, bottom up, each padded to 4 bytes
};

// The window as it stands on the screen, read back from the screen's device context (the
// window's own context leaves out the controls, which are windows of their own).
Picture Capture(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  Picture p{r.right - r.left, r.bottom - r.top, {}};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, p.width, p.height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, p.width, p.height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), p.width, p.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  p.pixels.resize(static_cast<size_t>((p.width * 3 + 3) / 4 * 4) * static_cast<size_t>(p.height));
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(p.height), p.pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return p;
}

void WriteBmp(const std::string& path, const Picture& p) {
  BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER),
                          p.width,
                          p.height,
                          1,
                          24,
                          BI_RGB,
                          static_cast<DWORD>(p.pixels.size()),
                          0,
                          0,
                          0,
                          0};
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(p.pixels.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(p.pixels.data()),
            static_cast<std::streamsize>(p.pixels.size()));
}

// Fills the dialog's empty texts and bars through the host, lets it open and paint, captures it
// on the first timer tick and ends it.
class CaptureProcedure final : public ui::DialogProcedure {
 public:
  explicit CaptureProcedure(DialogId id) : id_(id) {}

  void on_start(ui::DialogWindow& window) override {
    for (const ui::ControlTemplate& c : ui::Template(id_).controls) {
      const bool text = c.kind == ui::ControlKind::Text || c.kind == ui::ControlKind::CenteredText;
      if (text && c.caption == nullptr) window.set_text(c.id, "Waiting for the unit...");
      if (c.kind == ui::ControlKind::ProgressBar) {
        window.set_progress_range(c.id, 0, 100, 1);
        window.set_progress(c.id, 60);
      }
    }
    window.start_timer(kPaintTimer, 500);
  }
  void on_timer(ui::DialogWindow& window, int32_t timer) override {
    window.stop_timer(timer);
    if (HWND hwnd = ThreadDialog(); hwnd != nullptr) {
      RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      picture = Capture(hwnd);
    }
    window.end(kCapturedResult);
  }
  void on_button(ui::DialogWindow& window, int32_t /*control*/) override { window.end(0); }

  Picture picture;

 private:
  DialogId id_;
};

TEST(Dialogs, EveryTemplateOpensAsARealWindow) {
  const char* dir = std::getenv("QUIBRA_SCREENSHOT_DIR");
  if (dir == nullptr) GTEST_SKIP() << "run by dialogs.sh";
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&controls));
  frame::LoadModule(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr)));

  for (const DialogId id :
       {DialogId::Connection, DialogId::ConnectionNoWait, DialogId::ConnectionNew,
        DialogId::Pipcast, DialogId::Tonvox, DialogId::Mobile}) {
    const char* name = ui::Template(id).name;
    CaptureProcedure procedure(id);
    EXPECT_EQ(ui::system_dialog_host().run_modal(id, 0, procedure), kCapturedResult) << name;
    const Picture& p = procedure.picture;
    ASSERT_GT(p.width, 0) << name << ": no dialog window";
    // Something was drawn: a frame, a face and the controls' texts take more than two colours.
    std::set<uint32_t> colours;
    for (size_t i = 0; i + 2 < p.pixels.size(); i += 3)
      colours.insert(p.pixels[i] | p.pixels[i + 1] << 8 | p.pixels[i + 2] << 16);
    EXPECT_GT(colours.size(), 2u) << name << " is blank";
    WriteBmp(std::string(dir) + "\\" + name + ".bmp", p);
  }
}

}  // namespace
}  // namespace quibra::testing
