// Where every control of the scan window goes, worked out from the window's size, the tab page shown
// and the sizes the desktop's font gives the controls; all in twips from the window's top left.
#pragma once

#include <optional>

namespace quendrel {

struct GraphLogRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;

  int Right() const { return Left + Width; }
  int Bottom() const { return Top + Height; }
  bool operator==(const GraphLogRect&) const = default;
};

// The sizes the window measures in its own font; the defaults suit an 8-point dialog font.
struct GraphLogMetrics {
  int TabHeaderHeight = 360;  // from the tab control's top to the top of its pages
  int ButtonHeight = 375;
  int TextBoxHeight = 315;
  int LabelHeight = 255;
  int PickerWidth = 1500;
  int PickerHeight = 315;
  int IndicatorSize = 165;
  int ButtonWidth = 1095;       // "Connect", "Browse...", "Remove All"
  int WideButtonWidth = 1455;   // "Start Scanning", "Stop Scanning"
  int OptionsButtonWidth = 1695;  // each of the graph page's buttons
  int RowLabelWidth = 1260;     // "Drive Address:" and "Scan Period:"
  int LogLabelWidth = 1050;     // "Log Filename:"
  int CheckWidth = 1800;        // "Continuous Scan"
  int WindowLabelWidth = 1260;  // "Show on X Axis:"
  int AddressWidth = 540;
  int SeriesListWidth = 0;      // the series list with every column showing whole
};

struct GraphLogSetupPage {
  GraphLogRect lblDriveAddr, tbDriveAddr, bConnect;
  GraphLogRect lblLogFile, tbLogFile, bLogBrowse;
  GraphLogRect lblScanPeriod, tpScanPeriod, chkContinuousScan, tpbProgress;
  GraphLogRect treePramList, slbSeries, bRemoveAll;
};

struct GraphLogDisplayPage {
  GraphLogRect gpGraph, lblWindowLen, tpWindowLen, bAdvancedOptions, bSaveSnapshot, bPrintSnapshot;
};

struct GraphLogPlacement {
  // The window's size once raised to the minimum; a window in its normal state takes it.
  int Width = 0;
  int Height = 0;
  GraphLogRect tabStrip, bStartGraph, frameStatic;
  // Inside the status frame, from its top left.
  GraphLogRect lblStatus, lblIndicator;
  // Only the page shown is laid out.
  std::optional<GraphLogSetupPage> Setup;
  std::optional<GraphLogDisplayPage> Display;
};

class GraphLogLayout {
 public:
  static constexpr int MinWidth = 11325;
  static constexpr int MinHeight = 6000;
  static constexpr int SetupPage = 0;
  static constexpr int DisplayPage = 1;

  static GraphLogPlacement Place(int width, int height, int page, const GraphLogMetrics& metrics = {});
  // The smallest size at which no two controls of either page meet: MinWidth by MinHeight, or more
  // where the desktop's font makes the controls larger. The same for both pages, so that turning a
  // page never resizes the window.
  static int SmallestWidth(const GraphLogMetrics& metrics);
  static int SmallestHeight(const GraphLogMetrics& metrics);

 private:
  static GraphLogSetupPage PlaceSetup(const GraphLogPlacement& frame, const GraphLogMetrics& metrics);
  static GraphLogDisplayPage PlaceDisplay(const GraphLogPlacement& frame, const GraphLogMetrics& metrics);
  static void PlaceStatus(GraphLogPlacement& frame, const GraphLogMetrics& metrics);
};

}  // namespace quendrel
