// make-samples: builds the shipped sample projects from their descriptions and solves each.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "app/sample_builder.h"
#include "cli/command.h"

namespace vt::cli {

namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& f) {
  std::ifstream in(f, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> readBytes(const fs::path& f) {
  std::ifstream in(f, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

int runMakeSamples(const std::vector<std::string>& args) {
  bool check = false, verbose = false;
  fs::path data = VORTELAN_SOURCE_DATA_DIR;
  for (const std::string& a : args) {
    if (a == "--check")
      check = true;
    else if (a == "--verbose")
      verbose = true;
    else
      data = a;
  }
  std::vector<fs::path> descriptions = sampleDescriptions(data);
  if (descriptions.empty()) {
    std::cerr << "No sample descriptions in " << (data / "Projects" / "src").string() << "\n";
    return kExitRefused;
  }
  try {
    SampleTables tables = SampleTables::load(data);
    int failures = 0;
    for (const fs::path& d : descriptions) {
      Project p;
      ScriptedPrompter quiet;
      p.setPrompter(&quiet);
      std::string name;
      try {
        name = buildSample(readText(d), tables, p);
      } catch (const SampleError& e) {
        std::cerr << d.filename().string() << ": " << e.what() << "\n";
        ++failures;
        continue;
      }
      std::vector<uint8_t> bytes = sampleFileBytes(p);
      const fs::path target = data / "Projects" / name;
      if (check) {
        if (readBytes(target) != bytes) {
          std::cout << name << ": differs from its description\n";
          ++failures;
        }
      } else {
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
          std::cerr << "Cannot write " << target.string() << "\n";
          ++failures;
          continue;
        }
      }
      std::string messages, results;
      bool solved = solveSample(bytes, messages, &results);
      std::cout << name << ": " << (solved ? "solved" : "NOT SOLVED") << "\n";
      if (verbose) std::cout << messages << results;
      if (!solved) {
        std::cout << messages;
        ++failures;
      }
    }
    return failures == 0 ? kExitOk : kExitFailed;
  } catch (const TableError& e) {
    std::cerr << e.what() << "\n";
    return kExitRefused;
  }
}

const Register makeSamplesCommand(
    "make-samples", {"make-samples [DATA_DIR] [--check] [--verbose]",
                     "build data/Projects/*.pzn from data/Projects/src/*.txt (or check them) and solve each",
                     runMakeSamples});

}  // namespace

}  // namespace vt::cli
