#include "graph/scan/GraphLogSession.h"

namespace quendrel {

GraphLogSession::GraphLogSession(GraphLogView& view, std::shared_ptr<ParameterTree> tree, Services services)
    : view_(view), tree_(std::move(tree)), services_(std::move(services)) {
  tree_->SetEvents(this);
}

GraphLogSession::~GraphLogSession() { tree_->SetEvents(nullptr); }

void GraphLogSession::Form_Load() {}
bool GraphLogSession::Form_QueryUnload() { return true; }
void GraphLogSession::Form_Unload() {}
void GraphLogSession::bConnect_Click() {}
void GraphLogSession::tbDriveAddr_Change(const std::string&) {}
void GraphLogSession::tbLogFile_Change(const std::string&) {}
void GraphLogSession::bLogBrowse_Click() {}
void GraphLogSession::bStartGraph_Click() {}
void GraphLogSession::chkContinuousScan_Click(bool) {}
void GraphLogSession::bRemoveAll_Click() {}
void GraphLogSession::bAdvancedOptions_Click() {}
void GraphLogSession::bSaveSnapshot_Click() {}
void GraphLogSession::bPrintSnapshot_Click() {}
void GraphLogSession::TimerScan_Timer() {}
void GraphLogSession::TimerConnection_Timer() {}
void GraphLogSession::treePramList_CheckChanged(ParameterTreeNode&) {}
void GraphLogSession::treePramList_DblClick() {}
void GraphLogSession::slbSeries_ValueChanged(gdSeries&, double) {}
void GraphLogSession::slbSeries_ColorChanged(gdSeries&) {}
void GraphLogSession::slbSeries_ActionChanged(gdSeries&) {}
void GraphLogSession::slbSeries_GainChanged(gdSeries&) {}
void GraphLogSession::tpScanPeriod_Changed() {}
void GraphLogSession::tpWindowLen_Changed() {}
void GraphLogSession::LoadGraphLogSettings() {}
void GraphLogSession::SaveGraphLogSettings() {}

}  // namespace quendrel
