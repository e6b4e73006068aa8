// Shared helpers of the file tests: a scratch folder, whole-file reads and writes, and a check that
// whatever a reader left in the store is safe to use.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/project.h"

namespace filetest {

namespace fs = std::filesystem;

class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("vt_files_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// The store's invariants that every other part of the program relies on: nine markers in order, a
// sequence within bounds, and for every placed element a known type and its record.
inline std::string storeProblem(const vt::Project& p) {
  if (p.SeqLen < 9 || p.SeqLen > vt::kMaxSeq) return "SeqLen " + std::to_string(p.SeqLen);
  if (p.HighElem < 0 || p.HighElem > vt::kMaxElem) return "HighElem";
  int marker = 0;
  for (int i = 1; i <= p.SeqLen; ++i) {
    int v = p.ElemSeq[static_cast<size_t>(i)];
    if (v < 0) {
      if (v != -(marker + 1)) return "marker order";
      ++marker;
      continue;
    }
    if (v < 1 || v > p.HighElem) return "element number " + std::to_string(v);
    auto n = static_cast<size_t>(v);
    switch (p.ElemType[n]) {
      case vt::kPipe: if (!p.pipe[n]) return "pipe record"; break;
      case vt::kFitting:
      case vt::kValve: if (!p.valfit[n]) return "valfit record"; break;
      case vt::kPump: if (!p.pump[n]) return "pump record"; break;
      case vt::kGauge:
      case vt::kSupply: if (!p.node[n]) return "node record"; break;
      case vt::kFVH: if (!p.fvh[n]) return "fvh record"; break;
      default: return "type of " + std::to_string(v);
    }
    if (p.elemspot[n] < 1 || p.elemspot[n] > p.SeqLen) return "elemspot";
  }
  if (marker != 9) return "markers";
  if (p.MainEnd < 1 || p.MainEnd > p.SeqLen || p.ElemSeq[static_cast<size_t>(p.MainEnd)] != -1) return "MainEnd";
  return "";
}

}  // namespace filetest
