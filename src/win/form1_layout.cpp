#include "win/form1_layout.h"

namespace ostra::win {

namespace {

constexpr int kTwipsPerInch = 1440;

// A control at `left`, `top` within a container placed at `in`.
ScreenRect Within(const ScreenRect& in, int left, int top, int width, int height) {
  return {in.left + left, in.top + top, width, height};
}

constexpr ScreenRect kFrame1Twips{240, 1680, 5175, 2895};
constexpr ScreenRect kFrame2Twips{5580, 1680, 3135, 2895};
constexpr ScreenRect kFrame3Twips{240, 4740, 8475, 675};

}  // namespace

const std::vector<ControlSpec>& Controls() {
  static const std::vector<ControlSpec> controls = {
      {kFrame1, ControlKind::kFrame, L"変換元ファイル名選択", kFrame1Twips},
      {kDir1, ControlKind::kFolderList, L"", Within(kFrame1Twips, 2640, 420, 2415, 1530)},
      {kDrive1, ControlKind::kDriveList, L"", Within(kFrame1Twips, 2640, 2220, 2415, 390)},
      {kFile1, ControlKind::kFileList, L"", Within(kFrame1Twips, 120, 420, 2415, 2190)},
      {kFrame2, ControlKind::kFrame, L"変換先フォルダ名選択", kFrame2Twips},
      {kDir2, ControlKind::kFolderList, L"", Within(kFrame2Twips, 180, 420, 2595, 1530)},
      {kDrive2, ControlKind::kDriveList, L"", Within(kFrame2Twips, 180, 2220, 2595, 390)},
      {kCommand1, ControlKind::kButton, L"実  行", {2520, 5580, 1935, 555}},
      {kCommand2, ControlKind::kButton, L"終  了", {5160, 5580, 2055, 555}},
      {kText1, ControlKind::kEdit, L"", {2400, 300, 6255, 405}},
      {kLabel1, ControlKind::kLabel, L"変換元ファイル名：", {240, 360, 2235, 315}},
      {kLabel2, ControlKind::kLabel, L"変換先フォルダ名：", {240, 960, 2235, 315}},
      {kText2, ControlKind::kEdit, L"", {2400, 900, 6255, 405}},
      {kFrame3, ControlKind::kFrame, L"メッセージ", kFrame3Twips},
      {kLabel3, ControlKind::kLabel, L"", Within(kFrame3Twips, 180, 240, 8175, 315)},
      // The added buttons, in the strip below the panel, under the original buttons.
      {kDryRunButton, ControlKind::kButton, L"試行変換", {240, kPanelHeightTwips + 120, 2055, 495}},
      {kPreviewButton,
       ControlKind::kButton,
       L"柱状図表示",
       {2520, kPanelHeightTwips + 120, 1935, 495}},
      {kReportButton,
       ControlKind::kButton,
       L"変換結果",
       {5160, kPanelHeightTwips + 120, 2055, 495}},
  };
  return controls;
}

const ControlSpec* FindControl(int id) {
  for (const ControlSpec& c : Controls()) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  const long long half = kTwipsPerInch / 2;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                      : -((-scaled + half) / kTwipsPerInch));
}

ScreenRect TwipsToPixels(const ScreenRect& twips, int dpi) {
  const int left = TwipsToPixels(twips.left, dpi);
  const int top = TwipsToPixels(twips.top, dpi);
  return {left, top, TwipsToPixels(twips.left + twips.width, dpi) - left,
          TwipsToPixels(twips.top + twips.height, dpi) - top};
}

}  // namespace ostra::win
