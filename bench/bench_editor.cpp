// The editor view with 100 and with 10,000 reactions (offscreen): opening it (reading the
// file, the listing and its check boxes, the first paint) and painting it again.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>

#include "editor/react_window.h"
#include "model/reaction_file.h"

namespace {

// A folder holding a reaction file of count reactions, made once per count.
QString FolderWith(int count) {
  static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
  auto& folder = folders[count];
  if (!folder) {
    folder = std::make_unique<QTemporaryDir>();
    TReactionList list;
    for (int r = 0; r < count; ++r) {
      auto reaction = std::make_unique<TReaction>(
          "Aqueous solutions of iron(III) sulfate and barium chloride are mixed. #" +
              std::to_string(r),
          r % 5);
      reaction->reactants[0].SetFormula("Ba");
      reaction->reactants[0].charge = 2;
      reaction->reactants[1].SetFormula("SO4");
      reaction->reactants[1].charge = -2;
      reaction->products[0].SetFormula("BaSO4");
      list.push_back(std::move(reaction));
    }
    WriteReactionFile(list, folder->filePath("tarvolin.rxn").toStdString());
  }
  return folder->path();
}

void Paint(TReactWindow& view, QImage& image) {
  view.render(&image);
}

void BM_OpenEditor(benchmark::State& state) {
  QDir::setCurrent(FolderWith(static_cast<int>(state.range(0))));
  QImage image(800, 600, QImage::Format_RGB32);
  for (auto _ : state) {
    TReactWindow view(nullptr);
    view.resize(800, 600);
    view.Create();
    Paint(view, image);
    benchmark::DoNotOptimize(view.CheckBoxes().size());
  }
}
BENCHMARK(BM_OpenEditor)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_PaintEditor(benchmark::State& state) {
  QDir::setCurrent(FolderWith(static_cast<int>(state.range(0))));
  TReactWindow view(nullptr);
  view.resize(800, 600);
  view.Create();
  QImage image(800, 600, QImage::Format_RGB32);
  Paint(view, image);  // the first paint sets the scroller's units
  for (auto _ : state) Paint(view, image);
}
BENCHMARK(BM_PaintEditor)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
