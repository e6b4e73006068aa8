// The project information form's model: nine texts of the project, "Clear", "Default", "Accept".
#pragma once

#include <array>
#include <string>

#include "model/project.h"

namespace vt {

class ProjectInfoForm {
 public:
  explicit ProjectInfoForm(Project& project);

  static constexpr const char* kCaption = "VORTELAN - Project Info";
  static constexpr int kMaxChars = 40;
  // Field names, labels and configuration keys, top to bottom.
  static const std::array<const char*, 9>& controls();
  static const std::array<const char*, 9>& labels();
  static const std::array<const char*, 9>& configKeys();

  std::array<std::string, 9> fields;

  void clear();
  // "&Default": asks, and on Yes writes the nine texts as the configured defaults. True when written.
  bool makeDefault(const std::string& configPath);
  // "&Accept": the project takes the nine texts and is marked modified.
  void accept();

 private:
  Project& project_;
};

}  // namespace vt
