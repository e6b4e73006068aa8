// Writing the "Default" values of the dialogs into the configuration file: each record named by
// its "Parameter" key gets one field set, and only records that exist are touched.
#pragma once

#include <string>
#include <vector>

namespace vt {

class Prompter;

struct ConfigValue {
  std::string key;    // "Parameter" of the record, e.g. "LiqSG"
  std::string field;  // "Val1", "Desc", "Abrev"
  std::string value;  // written as text
};

// Loads the file, sets the fields, saves it (temporary file + rename). A file that cannot be read
// or written is reported through the prompter (error) and false is returned; nothing is half-written.
bool writeConfigValues(const std::string& path, const std::vector<ConfigValue>& values, Prompter& prompter);

}  // namespace vt
