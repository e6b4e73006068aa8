// Sorted, case-insensitive list of element IDs, each carrying its element number.
#pragma once

#include <string>
#include <vector>

namespace vt {

class IdList {
 public:
  struct Entry {
    std::string id;
    int elem;
  };
  // Adds the ID; false (and no change) when an ID equal without regard to case is present.
  bool add(const std::string& id, int elem);
  // Removes the ID (compared without regard to case); false when absent.
  bool remove(const std::string& id);
  // Element number of the ID, or 0.
  int find(const std::string& id) const;
  bool contains(const std::string& id) const { return find(id) != 0; }
  void clear() { entries_.clear(); }
  size_t size() const { return entries_.size(); }
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  std::vector<Entry>::const_iterator lowerBound(const std::string& id) const;
  std::vector<Entry> entries_;
};

// Case-insensitive comparison used by the ID list (ASCII letters folded).
int compareNoCase(const std::string& a, const std::string& b);

}  // namespace vt
