// analyze and solve: the solution run of a project file from the command line. The message list goes
// to standard output, one line per message line; the program's own messages go to standard error.
#include <filesystem>
#include <iostream>

#include "cli/command.h"
#include "cli/stderr_prompter.h"
#include "files/project_file.h"
#include "solver/solution.h"
#include "solver/solution_json.h"
#include "units/units_catalogue.h"

namespace vt::cli {

namespace {

// A solution window that is never shown: error boxes go to standard error, nothing halts.
class CliHost : public PlainSolveHost {
 public:
  void errorBox(const std::string& text) override {
    PlainSolveHost::errorBox(text);
    std::cerr << text << "\n";
  }
};

// Standard English display units from the shipped catalogue; internal units when it cannot be read.
void useEnglishUnits(Project& p) {
  UnitsInUse& u = p.units;
  u.Flow = {"gpm", 1.0, "US Gallons/min (USgpm)", "gpm"};
  u.PHead = u.SHead = {"ft liq", 1.0, "Feet of liquid (ft liq)", "ft"};
  try {
    auto catalogue = UnitsCatalogue::load(std::filesystem::path(VORTELAN_SOURCE_DATA_DIR) / "Units.XML");
    applyUnitChoices(u, catalogue, standardEnglishUnits(), p.liquid.LiqSG);
  } catch (const std::exception&) {
    updateDerivedUnits(u, p.liquid.LiqSG);
  }
}

struct Loaded {
  Project project;
  ElementClipboard clipboard;
  StderrPrompter prompter;
  CliHost host;
  bool ok = false;
};

bool load(const std::string& path, Loaded& l) {
  l.project.setPrompter(&l.prompter);
  if (!std::filesystem::is_regular_file(path)) {
    std::cerr << path << " does not exist!\n";
    return false;
  }
  ProjReadResult r = getProjData(l.project, l.clipboard, path);
  if (r.status != ProjReadResult::Status::Read) return false;
  useEnglishUnits(l.project);
  return true;
}

void printList(const MessageList& list) {
  for (const auto& line : list.lines()) std::cout << line.text << "\n";
}

int analyze(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::cerr << "usage: vortelan-cli analyze FILE\n";
    return kExitRefused;
  }
  Loaded l;
  if (!load(args[0], l)) return kExitRefused;
  Solution s(l.project, l.host);
  if (!s.analyzeCommand(l.prompter)) return kExitFailed;
  printList(s.list);
  return s.SolveErrors() ? kExitFailed : kExitOk;
}

int solve(const std::vector<std::string>& args) {
  std::string file, out;
  bool json = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") {
      json = true;
    } else if (args[i] == "--save" && i + 1 < args.size()) {
      out = args[++i];
    } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
      file = args[i];
    } else {
      std::cerr << "usage: vortelan-cli solve FILE [--json] [--save OUT]\n";
      return kExitRefused;
    }
  }
  if (file.empty()) {
    std::cerr << "usage: vortelan-cli solve FILE [--json] [--save OUT]\n";
    return kExitRefused;
  }
  Loaded l;
  if (!load(file, l)) return kExitRefused;
  Solution s(l.project, l.host);
  const bool ran = s.solveCommand(l.prompter);
  if (json)
    std::cout << solutionToJson(l.project, s.list);
  else
    printList(s.list);
  const bool solved = ran && l.project.proj.Solved;
  if (!out.empty()) {
    SaveOptions options;
    options.clipboard = ClipboardChoice::Always;
    if (!saveProjectFile(l.project, l.clipboard, out, options)) return kExitFailed;
  }
  return solved ? kExitOk : kExitFailed;
}

const Register kAnalyze("analyze", {"analyze FILE",
                                    "runs the pre-solve checks and prints the message list (exit 1 when a problem "
                                    "would stop a solution)",
                                    analyze});
const Register kSolve("solve", {"solve FILE [--json] [--save OUT]",
                                "solves the project and prints the message list, or the results as JSON; --save "
                                "writes the solved project (exit 0 solved, 1 not solved)",
                                solve});

}  // namespace

}  // namespace vt::cli
