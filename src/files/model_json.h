// The model as one JSON document, for tools and tests: project information, liquid and settings by
// their names, the line sequence, every placed element with its number, type code and every field
// of its record by the record's field names (internal units), and the clipboard entries likewise.
// Values that are not numbers (NaN, infinities) are written as null.
#pragma once

#include <string>

#include "files/element_clipboard.h"
#include "model/project.h"

namespace vt {

std::string projectToJson(const Project& project, const ElementClipboard& clipboard, const std::string& kind,
                          const std::string& version);
// A clipboard file alone: its description and entries.
std::string clipboardToJson(const ElementClipboard& clipboard, const std::string& version);

}  // namespace vt
