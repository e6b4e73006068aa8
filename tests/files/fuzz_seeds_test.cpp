// The fuzz targets start from the test fixtures. The committed seed files must be those fixtures;
// VORTELAN_WRITE_FUZZ_SEEDS=1 rewrites them after a fixture changes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "files/file_fixtures.h"
#include "files/files_test_support.h"

namespace {

namespace fs = std::filesystem;

fs::path corpus() { return fs::path(VORTELAN_SOURCE_DATA_DIR).parent_path() / "fuzz" / "corpus"; }

}  // namespace

TEST(FuzzSeeds, AreTheFixtures) {
  struct Seed {
    const char* path;
    std::vector<uint8_t> bytes;
  };
  std::vector<Seed> seeds = {
      {"project_file_fuzz/v30.pzn", fx::project30()},
      {"project_file_fuzz/v30_no_clipboard.pzn", fx::project30(false)},
      {"project_file_fuzz/v20.pzn", fx::project20()},
      {"project_file_fuzz/v10.pzn", fx::project10()},
      {"clipboard_fuzz/c30.clip", fx::clipboard30()},
      {"clipboard_fuzz/c20.clip", fx::clipboard20()},
  };
  bool write = std::getenv("VORTELAN_WRITE_FUZZ_SEEDS") != nullptr;
  for (const auto& s : seeds) {
    fs::path p = corpus() / s.path;
    if (write) {
      fs::create_directories(p.parent_path());
      filetest::writeBytes(p.string(), s.bytes);
    }
    EXPECT_EQ(filetest::readBytes(p.string()), s.bytes) << p;
  }
}
