#include "model/id_list.h"

#include <algorithm>
#include <cctype>

namespace vt {

int compareNoCase(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = std::tolower(static_cast<unsigned char>(a[i]));
    int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::vector<IdList::Entry>::const_iterator IdList::lowerBound(const std::string& id) const {
  return std::lower_bound(entries_.begin(), entries_.end(), id,
                          [](const Entry& e, const std::string& key) { return compareNoCase(e.id, key) < 0; });
}

bool IdList::add(const std::string& id, int elem) {
  auto it = lowerBound(id);
  if (it != entries_.end() && compareNoCase(it->id, id) == 0) return false;
  entries_.insert(entries_.begin() + (it - entries_.begin()), Entry{id, elem});
  return true;
}

bool IdList::remove(const std::string& id) {
  auto it = lowerBound(id);
  if (it == entries_.end() || compareNoCase(it->id, id) != 0) return false;
  entries_.erase(entries_.begin() + (it - entries_.begin()));
  return true;
}

int IdList::find(const std::string& id) const {
  auto it = lowerBound(id);
  return it != entries_.end() && compareNoCase(it->id, id) == 0 ? it->elem : 0;
}

}  // namespace vt
