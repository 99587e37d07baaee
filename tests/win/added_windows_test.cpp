// The report and picture windows of the Windows window: the picture drawn through GDI into a
// bitmap in memory, and the windows driven through their messages.
#include "win/added_windows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "preview/boring_log_builder.h"
#include "preview/boring_log_draw.h"
#include "preview/boring_log_layout.h"
#include "preview/boring_log_pages.h"
#include "preview/boring_log_viewport.h"
#include "preview/svg_format.h"
#include "win/gdi_canvas.h"
#include "win/picture_print.h"
#include "win/picture_view.h"
#include "win/window_parts.h"

namespace ostra::win {

namespace {

// A hole of layers `thickness` metres thick down to `depth`.
BoringLogModel Hole(double depth, double thickness) {
  BoringLogModel model;
  model.source = u"T:\\OUT\\B-1.MDT";
  model.holeName = u"B-1";
  model.header = {{u"調査名", u"試験の孔"}, {u"孔名", u"B-1"}};
  const Text names[] = {u"砂岩", u"泥岩", u"花崗岩", u"礫岩"};
  int n = 0;
  for (double top = 0; top < depth - 1e-9; top += thickness, ++n) {
    const double bottom = std::min(depth, top + thickness);
    model.layers.push_back(test::MakeLayer(top, bottom, names[n % 4]));
  }
  return model;
}

// A 32-bit top-down bitmap in memory to paint on.
class Bitmap {
 public:
  Bitmap(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~Bitmap() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  bool White(int x, int y) const {
    GdiFlush();
    return (bits_[y * width_ + x] & 0xffffff) == 0xffffff;
  }
  // Pixels in the rectangle that are not white.
  int Inked(int left, int top, int right, int bottom) const {
    int n = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y) {
      for (int x = std::max(left, 0); x < std::min(right, width_); ++x) n += White(x, y) ? 0 : 1;
    }
    return n;
  }
  const std::uint32_t* Row(int y) const { return bits_ + y * width_; }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  std::uint32_t* bits_ = nullptr;
};

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

HWND Owner() {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                               300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(owner, nullptr);
  return owner;
}

}  // namespace

TEST(GdiPictureTest, LayersTicksAndHeadingsAreInkedAndNothingBeyondThePicture) {
  BoringLogModel model = Hole(30, 1.5);
  // The first boundary close to the top, its depth text reaching up to the headings.
  model.layers[0].bottom = model.layers[1].top = 0.35;
  model.layers[0].depthText = u"0.35";
  const BoringLogLayout layout = LayOutInWindow(model, PxPerMetreAt(100));
  const double bandLeft = layout.Column(ColumnKind::kPattern)->left;
  const double bandWidth = layout.Column(ColumnKind::kPattern)->width;
  const double axisRight = layout.columns[0].left + layout.columns[0].width - 1;
  const double headHeight = layout.headHeight;
  const int width = static_cast<int>(layout.width) + 60, height = 900;
  Bitmap top(width, height);
  EXPECT_EQ(PaintPicture(top.Dc(), model, layout, 1.0, 0, 0, width, height) > 0, true);
  // Every layer that shows is coloured over most of its band.
  int layersSeen = 0;
  for (const LayerBox& box : layout.layers) {
    const int y0 = static_cast<int>(box.top) + 2, y1 = static_cast<int>(box.bottom) - 1;
    if (y1 >= height) break;
    const int area = static_cast<int>(bandWidth - 4) * (y1 - y0);
    EXPECT_GT(top.Inked(static_cast<int>(bandLeft) + 2, y0,
                        static_cast<int>(bandLeft + bandWidth) - 2, y1),
              area * 3 / 4)
        << box.top;
    ++layersSeen;
  }
  EXPECT_GT(layersSeen, 5);
  // The depth texts left of the axis, the "0" at the top whole below the headings.
  for (const DepthTick& tick : layout.depthTicks) {
    const int y = static_cast<int>(tick.y);
    if (y + 6 >= height) break;
    EXPECT_GT(top.Inked(static_cast<int>(kMargin), y - 7, static_cast<int>(axisRight) - 6, y + 5),
              3)
        << tick.depth;
  }
  // Nothing of the depth column (the ticks' texts, the "0" at the top, the boundaries' depth
  // texts, the first one near the top) is covered by the headings: it is as the body alone draws
  // it.
  Bitmap body(width, height);
  {
    GdiCanvas canvas(body.Dc(), 1.0, 0, 0);
    DrawBody(canvas, model, layout, -1e9, 1e9);
  }
  int depthInk = 0, covered = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < static_cast<int>(bandLeft); ++x) {
      if (body.White(x, y)) continue;
      ++depthInk;
      if ((body.Row(y)[x] ^ top.Row(y)[x]) & 0xffffff) ++covered;
    }
  }
  EXPECT_GT(depthInk, 200);
  EXPECT_EQ(covered, 0);
  const int axisTop = static_cast<int>(layout.bodyTop);
  // The headings' texts.
  EXPECT_GT(
      top.Inked(0, static_cast<int>(layout.headsTop), width, static_cast<int>(layout.bodyTop) - 2),
      50);
  // White right of the picture.
  EXPECT_EQ(top.Inked(static_cast<int>(std::ceil(layout.width)) + 1, 0, width, height), 0);

  // Scrolled down, the headings sit at the top of the window, as they sat below the title.
  Bitmap scrolled(width, height);
  const int scroll = 600;
  const int drawn = PaintPicture(scrolled.Dc(), model, layout, 1.0, 0, scroll, width, height);
  EXPECT_GT(drawn, 0);
  EXPECT_LT(drawn, static_cast<int>(model.layers.size()));
  const int heads = static_cast<int>(layout.headsTop);
  for (int y = 0; y < static_cast<int>(headHeight) - 1; ++y) {
    ASSERT_EQ(std::memcmp(scrolled.Row(y), top.Row(heads + y), width * 4), 0) << y;
  }
  // Below them the body of the rows scrolled to.
  const int below = static_cast<int>(headHeight) + 40;
  EXPECT_GT(scrolled.Inked(static_cast<int>(bandLeft) + 2, below,
                           static_cast<int>(bandLeft + bandWidth) - 2, below + 20),
            1000);

  // Twice the resolution: the same picture twice as large.
  Bitmap big(2 * width, 2 * height);
  PaintPicture(big.Dc(), model, layout, 2.0, 0, 0, 2 * width, 2 * height);
  EXPECT_EQ(big.Inked(2 * static_cast<int>(std::ceil(layout.width)) + 2, 0, 2 * width, 2 * height),
            0);
  EXPECT_GT(big.Inked(2 * static_cast<int>(bandLeft) + 4, 2 * axisTop + 4,
                      2 * static_cast<int>(bandLeft + bandWidth) - 4, 2 * axisTop + 40),
            (2 * static_cast<int>(bandWidth) - 8) * 36 * 3 / 4);
}

TEST(GdiPictureTest, PagesRepeatTheHeadingsAndOnlyTheFirstHasTheTitle) {
  const BoringLogModel model = Hole(30, 1.5);
  // A4 inside 10 mm margins at 96 dots per inch: 190 x 277 mm, a dot to a picture pixel.
  Paper paper;
  paper.area = {0, 0, 718, 1046};
  Bitmap page(718, 1046);
  const PrintPlan plan = PlanFor(paper, model, 100);
  ASSERT_FALSE(plan.landscape);
  ASSERT_EQ(plan.strips.size(), 1u);
  const BoringLogLayout& layout = plan.strips[0];
  const ColumnBox& band = *layout.Column(ColumnKind::kPattern);
  int started = 0, ended = 0;
  auto start = [&] {
    RECT all{0, 0, 718, 1046};
    FillRect(page.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ++started;
    return true;
  };
  auto end = [&] {
    ++ended;
    const int head = static_cast<int>(kPageHeadHeight);
    const int heads = head + (ended == 1 ? static_cast<int>(layout.headsTop) : 0);
    const int body = heads + static_cast<int>(layout.headHeight) + 2;
    EXPECT_GT(page.Inked(0, 0, 718, head - 4), 50) << ended;  // the hole, the scale, "n / N"
    EXPECT_EQ(page.Inked(0, head + 2, 718, heads - 2) > 0, ended == 1) << ended;
    EXPECT_GT(page.Inked(0, heads, 718, body - 2), 100) << ended;
    // The layers go on right below the headings.
    EXPECT_GT(page.Inked(static_cast<int>(band.left) + 2, body,
                         static_cast<int>(band.left + band.width) - 2, body + 20),
              500)
        << ended;
    EXPECT_EQ(page.Inked(static_cast<int>(std::ceil(layout.width)) + 1, head, 718, 1046), 0);
    return true;
  };
  // 30 m at 1:100 is 300 mm of depth: more than one page holds.
  EXPECT_EQ(DrawPages(page.Dc(), paper, model, 100, start, end),
            static_cast<int>(plan.pages.size()));
  EXPECT_GE(plan.pages.size(), 2u);
  EXPECT_EQ(started, static_cast<int>(plan.pages.size()));
  EXPECT_EQ(ended, started);
  // A page the printer refuses stops the printing.
  EXPECT_EQ(DrawPages(
                page.Dc(), paper, model, 100, [] { return false; }, end),
            0);
  EXPECT_EQ(ended, started);
}

TEST(AddedWindowsTest, ThePictureWindowScalesFitsScrollsPrintsAndCloses) {
  HWND owner = Owner();
  PictureWindow window(GetModuleHandleW(nullptr));
  auto model = std::make_shared<BoringLogModel>(Hole(300, 2));
  window.Show(owner, u"T:\\OUT\\", model, true);
  Pump();
  ASSERT_TRUE(window.IsOpen());
  HWND frame = window.Handle();
  PictureView* view = PictureView::Of(GetDlgItem(frame, kPictureView));
  ASSERT_NE(view, nullptr);
  HWND box = GetDlgItem(frame, kScaleBox);
  auto boxText = [&] {
    wchar_t text[32] = {};
    GetWindowTextW(box, text, 32);
    return std::wstring(text);
  };
  // 1:100: one metre is 10 mm at the window's resolution.
  EXPECT_EQ(view->Scale(), 100);
  EXPECT_EQ(boxText(), L"1:100");
  EXPECT_NEAR(view->Layout().pxPerMetre * view->DeviceScale(), DpiOf(frame) / 2.54, 1e-9);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(frame, kPrintButton)));

  // Scrolling down draws only what shows.
  SendMessageW(GetDlgItem(frame, kPictureView), WM_VSCROLL, SB_PAGEDOWN, 0);
  UpdateWindow(GetDlgItem(frame, kPictureView));
  EXPECT_GT(view->ScrollY(), 0);
  EXPECT_GT(view->LayersPainted(), 0);
  EXPECT_LT(view->LayersPainted(), static_cast<int>(model->layers.size()) / 4);

  // The whole log, title and all, without a vertical scroll bar.
  SendMessageW(box, CB_SETCURSEL, 4, 0);
  SendMessageW(frame, WM_COMMAND, MAKEWPARAM(kScaleBox, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box));
  EXPECT_EQ(view->Scale(), kFitScale);
  RECT client;
  GetClientRect(GetDlgItem(frame, kPictureView), &client);
  const double shown = std::ceil(view->Layout().height * view->PixelScale());
  EXPECT_LE(shown, client.bottom);
  EXPECT_GT(shown, client.bottom * 0.8);
  EXPECT_LE(std::ceil(view->Layout().width * view->PixelScale()), client.right);
  EXPECT_EQ(
      GetWindowLongPtrW(GetDlgItem(frame, kPictureView), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
  EXPECT_EQ(view->ScrollY(), 0);

  // Ctrl+wheel up goes to the next larger scale, and the box says so; Ctrl+- back.
  SendMessageW(GetDlgItem(frame, kPictureView), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA),
               0);
  EXPECT_EQ(view->Scale(), 500);
  EXPECT_EQ(boxText(), L"1:500");
  SendMessageW(frame, kKeyFromControl, VK_OEM_PLUS, 0);
  EXPECT_EQ(view->Scale(), 200);
  EXPECT_EQ(boxText(), L"1:200");

  // Nothing to draw: nothing to print.
  window.Show(owner, u"T:\\NONE\\", nullptr, false);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(frame, kPrintButton)));
  EXPECT_FALSE(view->HasPicture());
  window.Show(owner, u"T:\\OUT\\", std::make_shared<BoringLogModel>(Hole(0, 1)), false);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(frame, kPrintButton)));

  // Tab goes round the controls.
  SetFocus(box);
  SendMessageW(box, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), GetDlgItem(frame, kPictureView));
  SendMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), box);

  // Esc in the scale box closes the window; updates do not open it again, a raise does.
  SendMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(window.IsOpen());
  window.Show(owner, u"T:\\OUT\\", model, false);
  EXPECT_FALSE(window.IsOpen());
  window.Show(owner, u"T:\\OUT\\", model, true);
  EXPECT_TRUE(window.IsOpen());
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(frame, kPrintButton)));
  SendMessageW(GetDlgItem(frame, kPictureView), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(window.IsOpen());
  DestroyWindow(owner);
}

TEST(AddedWindowsTest, TheReportWindowShowsTheTextAndReportsTheEncodingChosen) {
  HWND owner = Owner();
  std::vector<DataEncoding> chosen;
  ReportWindow window(GetModuleHandleW(nullptr), [&](DataEncoding e) { chosen.push_back(e); });
  window.Show(owner, u"変換しました\n二行目\r\n三行目", DataEncoding::kCp932, false);
  EXPECT_FALSE(window.IsOpen());
  window.Show(owner, u"変換しました\n二行目\r\n三行目", DataEncoding::kCp932, true);
  ASSERT_TRUE(window.IsOpen());
  HWND text = GetDlgItem(window.Handle(), kReportText);
  wchar_t shown[64] = {};
  GetWindowTextW(text, shown, 64);
  EXPECT_STREQ(shown, L"変換しました\r\n二行目\r\n三行目");
  EXPECT_EQ(SendMessageW(text, EM_GETLINECOUNT, 0, 0), 3);
  HWND box = GetDlgItem(window.Handle(), kEncodingBox);
  EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageW(box, CB_GETCOUNT, 0, 0), 3);
  EXPECT_TRUE(chosen.empty());
  SendMessageW(box, CB_SETCURSEL, 2, 0);
  SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(kEncodingBox, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box));
  EXPECT_EQ(chosen, std::vector<DataEncoding>{DataEncoding::kUtf8});
  // An update while open shows the new text and choice.
  window.Show(owner, u"二回目", DataEncoding::kAuto, false);
  GetWindowTextW(text, shown, 64);
  EXPECT_STREQ(shown, L"二回目");
  EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), 0);
  // Moved to a monitor of 144 dots per inch: a 9-point font there, and the size it offers.
  RECT wanted{10, 20, 970, 800};
  SendMessageW(window.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&wanted));
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -18);
  RECT now;
  GetWindowRect(window.Handle(), &now);
  EXPECT_EQ(now.right - now.left, 960);
  SendMessageW(text, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(window.IsOpen());
  DestroyWindow(owner);
}

}  // namespace ostra::win
