#include <iostream>

#include "cli/command.h"

namespace vt::cli {
std::map<std::string, CommandInfo>& registry() {
  static std::map<std::string, CommandInfo> commands;
  return commands;
}
}  // namespace vt::cli

static void usage() {
  std::cerr << "usage: vortelan-cli COMMAND [ARGS]\n\ncommands:\n";
  for (const auto& [name, info] : vt::cli::registry())
    std::cerr << "  " << info.usage << "\n      " << info.summary << "\n";
}

int main(int argc, char** argv) {
  if (argc < 2) {
    usage();
    return vt::cli::kExitRefused;
  }
  std::string name = argv[1];
  auto& commands = vt::cli::registry();
  auto it = commands.find(name);
  if (it == commands.end()) {
    if (name != "--help" && name != "-h" && name != "help") std::cerr << "unknown command: " << name << "\n";
    usage();
    return name == "--help" || name == "-h" || name == "help" ? vt::cli::kExitOk : vt::cli::kExitRefused;
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  return it->second.run(args);
}
