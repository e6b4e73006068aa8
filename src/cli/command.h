// Commands of vortelan-cli register themselves here; one file per command family.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vt::cli {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;   // ran, but the result is not a success (e.g. not solved)
inline constexpr int kExitRefused = 2;  // bad arguments or a file that was refused

using CommandFn = std::function<int(const std::vector<std::string>& args)>;

struct CommandInfo {
  std::string usage;  // e.g. "check FILE"
  std::string summary;
  CommandFn run;
};

std::map<std::string, CommandInfo>& registry();

struct Register {
  Register(const std::string& name, CommandInfo info) { registry()[name] = std::move(info); }
};

}  // namespace vt::cli
