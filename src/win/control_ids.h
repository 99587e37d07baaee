// The control identifiers of the Windows window: GetDlgItem(window, id) finds each control.
// Every control is a direct child of the main window (the frames are drawn group boxes), so
// that their notifications reach the main window. Tests and the driver of the packaged program
// use these numbers.
#pragma once

namespace ostra::win {

inline constexpr const wchar_t* kMainClass = L"OstraconvForm1";
inline constexpr const wchar_t* kPictureClass = L"OstraconvPicture";
inline constexpr const wchar_t* kReportClass = L"OstraconvReport";

enum ControlId : int {
  kLabel1 = 101,
  kText1 = 102,
  kLabel2 = 103,
  kText2 = 104,
  kFrame1 = 105,
  kFile1 = 106,   // LISTBOX: LBN_SELCHANGE chooses the file
  kDir1 = 107,    // LISTBOX: LBN_DBLCLK or Enter opens the selected line
  kDrive1 = 108,  // COMBOBOX (drop-down list): CBN_SELCHANGE changes the drive
  kFrame2 = 109,
  kDir2 = 110,
  kDrive2 = 111,
  kFrame3 = 112,
  kLabel3 = 113,  // STATIC: the message line
  kCommand1 = 114,
  kCommand2 = 115,
  kPreviewButton = 116,
  kReportButton = 117,
  kDryRunButton = 118,
};

}  // namespace ostra::win
