#include "files/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace vt {

std::string bareFileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes,
                   const std::function<bool(const std::vector<uint8_t>& head)>& wanted) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  bytes.assign(16, 0);
  f.read(reinterpret_cast<char*>(bytes.data()), 16);
  bytes.resize(static_cast<size_t>(f.gcount()));
  if (f.bad()) return false;
  if (bytes.size() < 16 || !wanted(bytes)) return true;
  bytes.insert(bytes.end(), std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  return !f.bad();
}

namespace {

std::string systemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

bool writeAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

WriteResult writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
  namespace fs = std::filesystem;
  fs::path target(path);
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";

  // A temporary name beside the target, so that the final rename stays within one file system.
  std::random_device rd;
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    tmp = (folder / ("." + target.filename().string() + ".tmp" + std::to_string(rd() % 1000000u))).string();
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return {false, systemError("cannot create a temporary file")};

  // Keep the permissions of the file being replaced.
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);

  WriteResult result{true, ""};
  if (!writeAll(fd, bytes))
    result = {false, systemError("cannot write")};
  else if (::fsync(fd) != 0)
    result = {false, systemError("cannot flush")};
  if (::close(fd) != 0 && result.ok) result = {false, systemError("cannot close")};
  if (result.ok && ::rename(tmp.c_str(), path.c_str()) != 0) result = {false, systemError("cannot replace the file")};
  if (!result.ok) {
    ::unlink(tmp.c_str());
    return result;
  }
  // Make the rename itself durable.
  int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return result;
}

}  // namespace vt
