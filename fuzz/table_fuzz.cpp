// Feeds arbitrary bytes to the data-packet reader. Anything it accepts must write back to a text
// that reads again into the same rows.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "data/table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    vt::Table t = vt::Table::fromText(text, "fuzz input");
    for (const vt::Row* r : t.rows()) {
      for (const vt::FieldDef& f : t.fields()) {
        (void)r->str(f.name);
        (void)r->num(f.name);
      }
    }
    vt::Table back = vt::Table::fromText(t.toText(), "round trip");
    if (back.rowCount() != t.rowCount() || back.fields().size() != t.fields().size()) std::abort();
    auto a = t.rows();
    auto b = back.rows();
    for (size_t i = 0; i < a.size(); ++i)
      if (a[i]->values() != b[i]->values()) std::abort();
  } catch (const vt::TableError&) {
    // a clear refusal is the expected outcome for most inputs
  }
  return 0;
}
