// Reading, looking up and writing a table the size of a large pipe-size table.
#include <benchmark/benchmark.h>

#include <string>

#include "data/table.h"
#include "units/number_format.h"

namespace {

vt::Table sizeTable(int schedules) {
  vt::Table t({{"Index", vt::FieldType::String, 38}, {"NomSize", vt::FieldType::R4}, {"InDia", vt::FieldType::R4},
               {"Maxpsi", vt::FieldType::I4}});
  for (int s = 0; s < schedules; ++s)
    for (int n = 1; n <= 31; ++n)
      t.append({{"Index", "{SCHEDULE-" + std::to_string(s) + "}"}, {"NomSize", n * 0.5}, {"InDia", n * 0.48}, {"Maxpsi", 150}});
  t.addIndex("cdsPipeSizes1", {"Index", "NomSize"}, vt::CaseRule::Insensitive, true);
  return t;
}

void BM_TableFromText(benchmark::State& state) {
  std::string text = sizeTable(static_cast<int>(state.range(0))).toText();
  for (auto _ : state) benchmark::DoNotOptimize(vt::Table::fromText(text).rowCount());
  state.SetLabel(std::to_string(text.size()) + " bytes");
}
BENCHMARK(BM_TableFromText)->Arg(10)->Arg(100);

void BM_TableToText(benchmark::State& state) {
  vt::Table t = sizeTable(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(t.toText());
}
BENCHMARK(BM_TableToText)->Arg(10)->Arg(100);

void BM_TableFindKey(benchmark::State& state) {
  vt::Table t = sizeTable(static_cast<int>(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(t.findKey({"{SCHEDULE-" + std::to_string(i % state.range(0)) + "}", 4.0}));
    ++i;
  }
}
BENCHMARK(BM_TableFindKey)->Arg(10)->Arg(100);

void BM_FormatReportRow(benchmark::State& state) {
  double v = 1234.5678;
  for (auto _ : state) benchmark::DoNotOptimize(vt::format(" %9.2f  %10.2e  %-15s %d", {v, v * 1e-3, "PIPE-0001", 42}));
}
BENCHMARK(BM_FormatReportRow);

}  // namespace
