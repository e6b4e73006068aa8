#include "editors/config_defaults.h"

#include "data/table.h"
#include "model/prompter.h"

namespace vt {

bool writeConfigValues(const std::string& path, const std::vector<ConfigValue>& values, Prompter& prompter) {
  try {
    Table defs = Table::load(path);
    for (const auto& v : values) {
      Row* row = defs.locate({{"Parameter", v.key}}, CaseRule::Insensitive);
      if (!row || !defs.hasField(v.field)) continue;
      row->set(v.field, v.value);
    }
    defs.save();
    return true;
  } catch (const TableError& e) {
    prompter.message(MsgKind::Error, e.what());
    return false;
  }
}

}  // namespace vt
