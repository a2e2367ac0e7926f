// The scan window's parameter selection: the tree of the uploaded parameters, a series for every
// ticked one, the scan list that remembers them, and the series list's edits.
#include <cstdint>
#include <vector>

#include "comms/server/GIOContext.h"
#include "foundation/text/DateText.h"
#include "foundation/text/FixedPoint.h"
#include "foundation/text/ParameterId.h"
#include "foundation/values/RuntimeError.h"
#include "graph/data/GraphPalette.h"
#include "graph/data/ScanList.h"
#include "graph/scan/GraphLogHandlerScope.h"
#include "graph/scan/GraphLogSession.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/compatibility/FirmwareInformationTemplate.h"
#include "params/transfer/DriveSlotPointers.h"
#include "params/transfer/ParameterBinding.h"
#include "params/transfer/TypedValueWriter.h"

namespace quendrel {

namespace {

bool IsMenuHeader(std::int32_t p) { return p % 100 == 0; }

}  // namespace

// --- Building the tree ---

void GraphLogSession::BuildParameterTree() {
  SetGraphLogStatus("Building Tree...");
  tree_->Clear();
  // A header's own scan list entry ticks its whole menu, whose nodes come after it.
  std::vector<ParameterTreeNode*> headersToTick;
  for (std::int32_t p = 0; p < KVBFile::kSlotCount; ++p) {
    if (pramFile_.Identifier(p).empty()) continue;
    ParameterTreeNode* node = AddTreeNode(p);
    if (node == nullptr || !ScanList().Parameter(p)) continue;
    if (IsMenuHeader(p)) {
      headersToTick.push_back(node);
    } else {
      node->SetChecked(1);
      UpdateSeriesForNode(*node);
    }
  }
  for (ParameterTreeNode* header : headersToTick) TickWholeMenu(*header);
  tree_->SetHScroll(0);
  tree_->SetVScroll(0);
  tree_->Refresh();
}

ParameterTreeNode* GraphLogSession::AddTreeNode(std::int32_t p) {
  const bool header = IsMenuHeader(p);
  const std::string id = ParameterIdText(p);
  ParameterTreeNode* node = nullptr;
  try {
    // A parameter whose header the set lacks lands at the top level.
    node = &tree_->AddNode(id, header ? std::string() : ParameterIdText(p / 100 * 100),
                           id + ": " + pramFile_.Name(p));
  } catch (const RuntimeError&) {
    return nullptr;
  }
  node->SetIcon(services_.UseIcons && !header ? pramFile_.IconName(p) : std::string());
  if (header) {
    node->SetBold(true);
    node->SetGreyed(false);
  }
  node->SetTag(static_cast<std::int16_t>(p));
  if (!header && pramFile_.ReadOnly(p)) node->SetGreyed(true);
  return node;
}

// Parameters of the menu ticked already keep their series as they are.
void GraphLogSession::TickWholeMenu(ParameterTreeNode& header) {
  header.SetChecked(1);
  for (ParameterTreeNode* child = header.Child(); child != nullptr; child = child->Sibling()) {
    if (child->Checked() == 1) continue;
    child->SetChecked(1);
    UpdateSeriesForNode(*child);
  }
}

// --- Series for ticked nodes ---

void GraphLogSession::UpdateSeriesForNode(ParameterTreeNode& node) {
  const std::int32_t sv = FirmwareCompatibility().SoftwareVersion();
  const udtDriveResponse version = ReadParameter(sv);
  const auto fit = version.Error ? nullptr : FirmwareCompatibility().FitData(version.sglData);
  const std::int32_t p = node.Tag();
  if (IsMenuHeader(p)) {
    for (ParameterTreeNode* child = node.Child(); child != nullptr; child = child->Sibling()) {
      child->SetChecked(node.Checked());
      UpdateSeriesForNode(*child);
    }
    return;
  }
  const std::string id = ParameterIdText(p);
  if (node.Checked() == 0) {
    ScanList().SetParameter(p, false);
    if (gdcGraphData_.Series(id) == nullptr) return;
    gdcGraphData_.RemoveSeries(id);
    rowParameters_.erase(id);
  } else {
    const std::string prefix = id + ": ";
    const std::string& caption = node.Caption();
    const std::string name = caption.rfind(prefix, 0) == 0 ? caption.substr(prefix.size()) : caption;
    std::shared_ptr<gdSeries> series;
    if (ScanList().Parameter(p)) {
      series = gdcGraphData_.AddSeries(id, name, ScanList().Color(p));
      series->SetVisible(ScanList().Graphed(p));
      series->SetLogged(ScanList().Logged(p));
      series->SetGain(ScanList().Gain(p));
    } else {
      series = gdcGraphData_.AddSeries(id, name, kGraphPalette[static_cast<std::size_t>(p % 7 + 7)]);
      ScanList().SetColor(p, series->Color());
      ScanList().SetGraphed(p, series->Visible());
      ScanList().SetLogged(p, series->Logged());
      ScanList().SetGain(p, 1.0);
    }
    ScanList().SetParameter(p, true);
    CompleteSeries(*series, p, fit != nullptr && fit->Binding(p).pNameBound == -1);
  }
  if (scanTimerRunning_) WriteScanLogHeader();
}

// A quick setup slot bound to a parameter shows that parameter's name, number format and value
// names, and the drive writes the slot in that parameter's scale. A slot that is not set, or names
// a parameter the set lacks, is answered from its own row, so it shows and writes itself.
void GraphLogSession::CompleteSeries(gdSeries& series, std::int32_t p, bool nameFromShown) {
  const std::int32_t b = GetDriveBoundParameter(p, driveContext_.get());
  const bool bound = b != p && b != 0 && !pramFile_.Identifier(b).empty();
  const std::int32_t shown = bound ? b : p;
  series.SetBitPram(pramFile_.BitPram(p));
  series.SetReadOnly(pramFile_.ReadOnly(p));
  const udtDriveResponse first = ReadParameter(shown);
  if (!first.Error) {
    series.SetError(false);
    series.AddPoint(Now(), first.sglData);
  }
  if (nameFromShown) series.SetLongName(pramFile_.Name(shown));
  series.SetFormatString(FixedPointFormat(pramFile_.PAD(shown)));
  const std::int32_t n = pramFile_.NumDVDs(shown);
  for (std::int32_t i = 0; i < n; ++i) series.SetDVD(static_cast<std::int16_t>(i), pramFile_.DVD(shown, i));
  rowParameters_[series.Name()] = shown;
}

std::int32_t GraphLogSession::RowParameter(const gdSeries& series, std::int32_t p) const {
  const auto kept = rowParameters_.find(series.Name());
  return kept != rowParameters_.end() ? kept->second : p;
}

// --- Tree events ---

void GraphLogSession::treePramList_CheckChanged(ParameterTreeNode& node) {
  if (unloaded_ || !Enabled(GraphLogControl::treePramList)) return;
  HandlerScope scope(*this);
  UpdateSeriesForNode(node);
  slbSeries_.Refresh();
  ReportLogWriteFailure();
}

// A double-click below the last row has taken the selection away first.
void GraphLogSession::treePramList_DblClick() {
  if (unloaded_) return;
  ParameterTreeNode* node = tree_->Selected();
  if (node == nullptr || node->Child() == nullptr) return;
  node->SetExpanded(!node->Expanded());
  tree_->RepaintAll();
}

void GraphLogSession::bRemoveAll_Click() {
  if (unloaded_ || !Enabled(GraphLogControl::bRemoveAll)) return;
  HandlerScope scope(*this);
  for (ParameterTreeNode* node = tree_->First(); node != nullptr; node = node->Sibling()) {
    node->SetChecked(0);
    UpdateSeriesForNode(*node);
  }
  tree_->Refresh();
  slbSeries_.Refresh();
  ReportLogWriteFailure();
}

// --- Series list edits ---

// An editor committed after the list was disabled (the drive was lost meanwhile) writes nothing. The
// value reaches the parameter the row names as the online editor's edits do, through the slot that
// shows it on the drive at this moment, or directly once no slot does.
void GraphLogSession::slbSeries_ValueChanged(gdSeries& series, double value) {
  if (unloaded_ || !driveContext_ || !Enabled(GraphLogControl::slbSeries)) return;
  HandlerScope scope(*this);
  const std::int32_t p = ParseParameterId(series.Name());
  if (p < 0) return;
  DriveSlotPointers pointers(pramFile_, *driveContext_);
  TypedValueWriter writer(pramFile_, *driveContext_, pointers);
  const TypedValueWriter::Result written = writer.Write(RowParameter(series, p), value);
  if (written.outcome == TypedValueWriter::Outcome::Refused) {
    SetGraphLogStatus(ValueRefusedText);
    return;
  }
  if (written.outcome == TypedValueWriter::Outcome::Failed) {
    SetGraphLogStatus("Error writing new value for " + ParameterIdText(p));
    series.SetError(true);
    return;
  }
  const udtDriveResponse held = writer.ReadBack(written);
  // A drive that took the word but would not say what it holds now holds that word.
  ShowValueWritten(series, held.Error ? writer.Accepted(written) : held.sglData);
}

void GraphLogSession::slbSeries_ValueRefused() {
  if (!unloaded_) SetGraphLogStatus(ValueRefusedText);
}

// At once, scanning or not: the user is looking at the row just edited.
void GraphLogSession::ShowValueWritten(gdSeries& series, double value) {
  series.AddPoint(Now(), value);
  series.SetError(false);
  series.SetDirty(true);
  slbSeries_.Refresh();
  gpGraph_.Refresh();
}

void GraphLogSession::slbSeries_ColorChanged(gdSeries& series) {
  const std::int32_t p = ParseParameterId(series.Name());
  if (p >= 0) ScanList().SetColor(p, series.Color());
}

// A change of Logged during a scan changes the log's columns: a new header names them.
void GraphLogSession::slbSeries_ActionChanged(gdSeries& series) {
  const std::int32_t p = ParseParameterId(series.Name());
  if (p < 0) return;
  HandlerScope scope(*this);
  const bool columnsChanged = series.Logged() != ScanList().Logged(p);
  ScanList().SetGraphed(p, series.Visible());
  ScanList().SetLogged(p, series.Logged());
  if (columnsChanged && scanTimerRunning_) WriteScanLogHeader();
  ReportLogWriteFailure();
}

void GraphLogSession::slbSeries_GainChanged(gdSeries& series) {
  const std::int32_t p = ParseParameterId(series.Name());
  if (p >= 0) ScanList().SetGain(p, series.Gain());
}

}  // namespace quendrel
