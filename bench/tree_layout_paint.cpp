// Layout and drawing of a fully expanded parameter tree, timed apart, on the recording canvas
// and on a real image. Drawing covers only the rows in view, so its rate should not fall as
// the tree grows; layout visits every expanded node.
#include <benchmark/benchmark.h>

#include <memory>

#include "GuiApp.h"
#include "platform/RecordingCanvas.h"
#include "tree/ParameterTree.h"
#include "tree/qt/TreeImageCanvas.h"

namespace quendrel {
namespace {

using bench::EnsureGuiApp;

// menus x (parameters + 1) nodes, every menu expanded, in a 320 x 240 pixel control.
std::shared_ptr<ParameterTree> MakeTree(int menus, int parameters, bool onImage) {
  ParameterTree::CanvasFactory factory;
  if (onImage) {
    EnsureGuiApp();
    factory = [](int width, int height) { return std::make_unique<TreeImageCanvas>(width, height); };
  }
  auto tree = std::make_shared<ParameterTree>(factory);
  tree->SetPaintLock(true);
  tree->SetCheckboxes(true);
  for (int m = 0; m < menus; ++m) {
    const std::string menu = "M" + std::to_string(m);
    tree->AddNode(menu, "", "Menu " + std::to_string(m));
    for (int p = 0; p < parameters; ++p) {
      ParameterTreeNode& node = tree->AddNode(menu + "." + std::to_string(p), menu,
                                              "Parameter " + std::to_string(m) + "." + std::to_string(p));
      node.SetValue(static_cast<float>(p) * 1.25f);
    }
  }
  tree->ExpandAll();
  tree->Resize(4800, 3600);
  tree->SetPaintLock(false);
  tree->RepaintAll();
  // Somewhere in the middle, so lines from rows far above cross the view.
  tree->SetVScroll(tree->VerticalBar().Max / 2);
  tree->RepaintAll();
  return tree;
}

void ClearRecording(const ParameterTree& tree) {
  if (auto* recording = dynamic_cast<RecordingCanvas*>(&tree.CanvasRef())) recording->ClearLog();
}

void BM_Layout(benchmark::State& state) {
  const auto tree = MakeTree(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), state.range(2) != 0);
  for (auto _ : state) {
    tree->SiteNodes();
    benchmark::DoNotOptimize(tree->ScrollData().virtualHeight);
  }
  state.counters["nodes"] = static_cast<double>(tree->LaidOutRows().size());
  state.counters["layouts/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Draw(benchmark::State& state) {
  const auto tree = MakeTree(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), state.range(2) != 0);
  for (auto _ : state) {
    tree->RepaintDirty();
    ClearRecording(*tree);
  }
  state.counters["nodes"] = static_cast<double>(tree->LaidOutRows().size());
  state.counters["repaints/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// 200 nodes: 10 menus of 19; 2,100 nodes: 100 menus of 20. Third argument: 0 recording canvas,
// 1 image.
BENCHMARK(BM_Layout)->Args({10, 19, 0})->Args({100, 20, 0})->Args({10, 19, 1})->Args({100, 20, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Draw)->Args({10, 19, 0})->Args({100, 20, 0})->Args({10, 19, 1})->Args({100, 20, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quendrel
