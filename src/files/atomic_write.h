// Replacing a file without ever leaving it half-written: the bytes go to a temporary file in the
// same folder, which is flushed to the disk and then renamed over the old file. A failure at any
// step removes the temporary file and leaves the old file exactly as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vt {

struct WriteResult {
  bool ok = false;
  std::string error;  // the system's reason when not ok
};

WriteResult writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

// Reads a file into memory. Only when `wanted` accepts its first 16 bytes (or fewer, for a shorter
// file) is the rest read too, so that a large file of another kind is refused without loading it.
// False when the file cannot be read.
bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes,
                   const std::function<bool(const std::vector<uint8_t>& head)>& wanted);

// The file name without its folder.
std::string bareFileName(const std::string& path);

}  // namespace vt
