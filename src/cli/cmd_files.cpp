// check, resave and dump: reading project and clipboard files of every version from the command line.
#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "cli/command.h"
#include "cli/stderr_prompter.h"
#include "files/atomic_write.h"
#include "files/byte_io.h"
#include "files/model_json.h"
#include "files/project_file.h"

namespace vt::cli {

namespace {

bool looksLikeClipboard(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::array<char, 8> head{};
  f.read(head.data(), 8);
  if (f.gcount() < 6) return false;
  const char wideMagic[8] = {'V', 0, 'T', 0, 'C', 0, 'W', 0};
  if (f.gcount() == 8 && std::equal(head.begin(), head.end(), wideMagic)) return true;
  return std::string(head.data(), 6) == "VTCW20";
}

std::string versionText(ProjectVersion v) {
  switch (v) {
    case ProjectVersion::V10: return "1.0";
    case ProjectVersion::V20: return "2.0";
    case ProjectVersion::V30: return "3.0";
    default: return "unknown";
  }
}

// What one read came to, for every command.
struct Loaded {
  bool ok = false;
  bool clipboardFile = false;
  std::string version;
  int16_t slider = 0;
};

Loaded load(const std::string& path, Project& project, ElementClipboard& clip) {
  Loaded l;
  if (std::filesystem::exists(path) && looksLikeClipboard(path)) {
    l.clipboardFile = true;
    int v = 0;
    ClipReadResult r = openClipboardFile(path, project, clip, &v);
    l.version = v == 30 ? "3.0" : v == 20 ? "2.0" : "unknown";
    if (r.status == ClipReadStatus::Read && v == 0) std::cerr << path << ": unknown clipboard file version\n";
    l.ok = r.status == ClipReadStatus::Read && v != 0;
    return l;
  }
  ProjReadResult r = getProjData(project, clip, path);
  l.version = versionText(r.version);
  l.slider = r.sliderPosition;
  if (r.status == ProjReadResult::Status::Read && r.version == ProjectVersion::Unknown)
    std::cerr << path << ": unknown project file version\n";
  l.ok = r.ok() && r.version != ProjectVersion::Unknown;
  return l;
}

std::string typeCounts(const std::array<int, 8>& counts) {
  std::string s;
  for (int t = 1; t <= 7; ++t) {
    if (t > 1) s += ", ";
    s += trimText(typeName(t)) + " " + std::to_string(counts[static_cast<size_t>(t)]);
  }
  return s;
}

std::array<int, 8> clipboardCounts(const ElementClipboard& clip) {
  std::array<int, 8> counts{};
  for (const auto& e : clip.entries) ++counts[static_cast<size_t>(e.kind())];
  return counts;
}

int runCheck(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::cerr << "usage: vortelan-cli check FILE\n";
    return kExitRefused;
  }
  StderrPrompter prompter;
  Project project;
  project.setPrompter(&prompter);
  ElementClipboard clip;
  Loaded l = load(args[0], project, clip);
  if (!l.ok) return kExitRefused;
  if (l.clipboardFile) {
    std::cout << "clipboard " << l.version << ": " << clip.count() << " entries: " << typeCounts(clipboardCounts(clip))
              << "\n";
    return kExitOk;
  }
  std::array<int, 8> counts{};
  for (int n = 1; n <= kMaxElem; ++n)
    if (project.isPlaced(n)) ++counts[static_cast<size_t>(project.ElemType[static_cast<size_t>(n)])];
  std::string lines;
  for (int k = 0; k < kLines; ++k) {
    if (project.LineLen[static_cast<size_t>(k)] == 0) continue;
    lines += lines.empty() ? "" : ", ";
    lines += (k == 0 ? std::string("main") : "branch " + std::to_string(k)) + " " +
             std::to_string(project.LineLen[static_cast<size_t>(k)]);
  }
  std::cout << "project " << l.version << ": " << typeCounts(counts) << "; lines: " << (lines.empty() ? "none" : lines)
            << "; clipboard " << clip.count() << "\n";
  return kExitOk;
}

int runResave(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::cerr << "usage: vortelan-cli resave IN OUT\n";
    return kExitRefused;
  }
  StderrPrompter prompter;
  Project project;
  project.setPrompter(&prompter);
  ElementClipboard clip;
  Loaded l = load(args[0], project, clip);
  if (!l.ok) return kExitRefused;
  bool written = l.clipboardFile
                     ? writeClipboardFile(args[1], clip, prompter)
                     : saveProjectFile(project, clip, args[1], SaveOptions{l.slider, ClipboardChoice::Always});
  return written ? kExitOk : kExitFailed;
}

int runDump(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::cerr << "usage: vortelan-cli dump FILE\n";
    return kExitRefused;
  }
  StderrPrompter prompter;
  Project project;
  project.setPrompter(&prompter);
  ElementClipboard clip;
  Loaded l = load(args[0], project, clip);
  if (!l.ok) return kExitRefused;
  std::cout << (l.clipboardFile ? clipboardToJson(clip, l.version) : projectToJson(project, clip, "project", l.version))
            << "\n";
  return kExitOk;
}

const Register checkCommand("check", {"check FILE",
                                      "read a project (any version) or clipboard file and print a one-line summary",
                                      runCheck});
const Register resaveCommand("resave", {"resave IN OUT",
                                        "read a project or clipboard file and save it in the current version",
                                        runResave});
const Register dumpCommand("dump", {"dump FILE", "print the model of a project or clipboard file as JSON", runDump});

}  // namespace

}  // namespace vt::cli
