// The file editors opening full sets: the offline editor a 2100-slot file (quick setup slots bound
// through the firmware template), the fragment editor a fragment against a 2100-entry template
// (tree and preview list), in milliseconds per file.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "FullParameterFile.h"
#include "editors/frmEditFragment.h"
#include "editors/frmEditOffline.h"
#include "params/compatibility/FirmwareInformationTemplate.h"
#include "platform/ScriptedUi.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

KVBFile FullFile() {
  KVBFile set = FullParameterFile();
  set.SetValue(1129, "2.105");
  // Quick setup slot n shows Mn.0n.
  for (std::int32_t slot = 1; slot <= 5; ++slot) {
    set.SetValue(1200 + slot, std::to_string(slot) + ".0" + std::to_string(slot));
  }
  return set;
}

void BM_OfflineLoadFullFile(benchmark::State& state) {
  if (!FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2)) state.SkipWithError("no firmware template");
  const TempFolder folder;
  const std::string path = folder.File("offline.KVB");
  if (!FullFile().SaveKVBFile(path, false)) state.SkipWithError("the file was not written");
  auto tree = std::make_shared<ParameterTree>();
  frmEditOffline form(tree, nullptr);
  form.Form_Load();
  form.tbFileName_Change(path);
  for (auto _ : state) {
    form.bLoadFile_Click();
    benchmark::DoNotOptimize(tree->First());
  }
  state.counters["slots/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * KVBFile::kSlotCount, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OfflineLoadFullFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// A template naming every one of the 2100 slots, as version 9.5.
FirmwareCompatibilityFile FullTemplate() {
  auto fit = std::make_shared<FirmwareInformationTemplate>();
  fit->SetVersionText("9.5");
  const KVBFile set = FullParameterFile();
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    udtUploadTemplateData entry;
    entry.Exists = true;
    entry.sName = set.Name(n);
    entry.iPad = 0x12;
    entry.iNumDVDs = set.NumDVDs(n);
    for (std::int32_t i = 0; i < entry.iNumDVDs; ++i) entry.sDVD.push_back(set.DVD(n, i));
    fit->SetTemplate(n, entry);
  }
  FirmwareCompatibilityFile file;
  file.AddTemplate(fit);
  return file;
}

void BM_FragmentLoadAgainstFullTemplate(benchmark::State& state) {
  FirmwareCompatibility() = FullTemplate();
  KVBFile fragment = FullParameterFile();
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; n += 3) fragment.SetIdentifier(n, "");
  fragment.SetValue(1129, "9.5");
  const TempFolder folder;
  const std::string path = folder.File("fragment.KVB");
  if (!fragment.SaveKVBFile(path, false)) state.SkipWithError("the file was not written");
  auto tree = std::make_shared<ParameterTree>();
  frmEditFragment form(tree, nullptr);
  form.Form_Load();
  // The file dialog answers with the fragment's path.
  ScriptedUi ui;
  for (auto _ : state) {
    ui.AnswerFileDialog(path);
    form.bBrowse_Click();
    benchmark::DoNotOptimize(form.View().lbPreview.size());
  }
  state.counters["preview lines"] = static_cast<double>(form.View().lbPreview.size());
}
BENCHMARK(BM_FragmentLoadAgainstFullTemplate)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quendrel
