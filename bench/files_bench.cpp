// Reading and writing a full project: 999 elements, a main line and nine branches.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "files/project_file.h"
#include "files/sample_projects.h"

namespace {

struct Full {
  vt::Project project;
  vt::ScriptedPrompter prompter;
  vt::ElementClipboard clipboard;
  std::vector<uint8_t> bytes;
  Full() {
    project.setPrompter(&prompter);
    sample::build(project, 439, 9, 60);
    for (int n = 1; n <= 50; ++n) clipboard.AddToClipboard(project, n);
    bytes = vt::SaveProj(project, clipboard, {50, vt::ClipboardChoice::Always});
  }
};

Full& full() {
  static Full f;
  return f;
}

std::string scratchFile() {
  return (std::filesystem::temp_directory_path() / ("vt_files_bench_" + std::to_string(::getpid()) + ".pzn")).string();
}

void BM_SaveProjInMemory(benchmark::State& state) {
  Full& f = full();
  for (auto _ : state) benchmark::DoNotOptimize(vt::SaveProj(f.project, f.clipboard, {50, vt::ClipboardChoice::Always}));
  state.counters["elements"] = f.project.tot_elems;
  state.counters["bytes"] = static_cast<double>(f.bytes.size());
}
BENCHMARK(BM_SaveProjInMemory)->Unit(benchmark::kMicrosecond);

void BM_ReadProjectFromMemory(benchmark::State& state) {
  Full& f = full();
  vt::Project p;
  vt::ScriptedPrompter pm;
  p.setPrompter(&pm);
  for (auto _ : state) {
    vt::ElementClipboard clip;
    auto r = vt::readProjectBytes(p, clip, f.bytes, "bench.pzn");
    if (!r.ok()) state.SkipWithError("read failed");
  }
}
BENCHMARK(BM_ReadProjectFromMemory)->Unit(benchmark::kMicrosecond);

// Through the file system: temporary file, fsync and rename for saving; a whole-file read for opening.
void BM_SaveProjectFile(benchmark::State& state) {
  Full& f = full();
  std::string path = scratchFile();
  for (auto _ : state)
    if (!vt::saveProjectFile(f.project, f.clipboard, path, {50, vt::ClipboardChoice::Always}))
      state.SkipWithError("save failed");
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveProjectFile)->Unit(benchmark::kMicrosecond);

void BM_OpenProjectFile(benchmark::State& state) {
  Full& f = full();
  std::string path = scratchFile();
  vt::saveProjectFile(f.project, f.clipboard, path, {50, vt::ClipboardChoice::Always});
  vt::Project p;
  vt::ScriptedPrompter pm;
  p.setPrompter(&pm);
  for (auto _ : state) {
    vt::ElementClipboard clip;
    if (!vt::getProjData(p, clip, path).ok()) state.SkipWithError("open failed");
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_OpenProjectFile)->Unit(benchmark::kMicrosecond);

}  // namespace
