#include "editors/project_info.h"

#include "editors/config_defaults.h"

namespace vt {

namespace {
// At most 40 characters (UTF-8 aware), as the field and the project file keep them.
std::string cut40(const std::string& s) {
  size_t i = 0, n = 0;
  while (i < s.size() && n < static_cast<size_t>(ProjectInfoForm::kMaxChars)) {
    auto b = static_cast<unsigned char>(s[i]);
    i += b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 4;
    ++n;
  }
  return s.substr(0, std::min(i, s.size()));
}
}  // namespace

const std::array<const char*, 9>& ProjectInfoForm::controls() {
  static const std::array<const char*, 9> c{"ProjEdit", "ClientEdit", "EngrEdit", "FirmEdit", "Add1Edit",
                                            "Add2Edit", "PhEdit",     "FaxEdit",  "EmailEdit"};
  return c;
}
const std::array<const char*, 9>& ProjectInfoForm::labels() {
  static const std::array<const char*, 9> l{"&Project: ", "C&lient: ", "&Engineer: ", "&Firm: ", "Add&ress: ",
                                            "",           "P&hone: ",  "Fa&x: ",      "&Notes: "};
  return l;
}
const std::array<const char*, 9>& ProjectInfoForm::configKeys() {
  static const std::array<const char*, 9> k{"PProject",  "PClient", "PEngineer", "PFirm", "PAddress1",
                                            "PAddress2", "PPhone",  "PFax",      "PEmail"};
  return k;
}

ProjectInfoForm::ProjectInfoForm(Project& project) : project_(project) { fields = project.proj.Info; }

void ProjectInfoForm::clear() {
  for (auto& f : fields) f.clear();
}

bool ProjectInfoForm::makeDefault(const std::string& configPath) {
  if (project_.prompter().message(MsgKind::Confirmation, "Use this information for new projects?", Buttons::YesNo) !=
      Answer::Yes)
    return false;
  std::vector<ConfigValue> values;
  for (size_t i = 0; i < fields.size(); ++i) values.push_back({configKeys()[i], "Desc", cut40(fields[i])});
  return writeConfigValues(configPath, values, project_.prompter());
}

void ProjectInfoForm::accept() {
  for (size_t i = 0; i < fields.size(); ++i) project_.proj.Info[i] = cut40(fields[i]);
  project_.SetModified(true);
}

}  // namespace vt
