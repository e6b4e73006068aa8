// Builds small lines for the workspace tests: each helper appends one element to the end of the
// current line and returns its number.
#pragma once

#include <string>

#include "model/project.h"

namespace vt::test {

int appendElement(Project& pr, int type, const std::string& id);
int addPipe(Project& pr, float length, const std::string& id);
int addSupply(Project& pr, int supplyType, float elev, float inletElev, const std::string& id);
int addGauge(Project& pr, float elev, const std::string& id, float demand = 0);
int addPump(Project& pr, float elev, const std::string& id, int dir = 1);
int addValve(Project& pr, int code, float elev, const std::string& id, int dir = 1);
int addFitting(Project& pr, const std::string& id);
int addFvh(Project& pr, const std::string& id, int dir = 1);
// Appends an element that already stands in another line (a shared gauge or supply).
void appendShared(Project& pr, int n);
// The element numbers of line k, in order.
std::vector<int> lineElems(const Project& pr, int k);
// The IDs of line k, in order, joined by blanks.
std::string lineIds(const Project& pr, int k);

}  // namespace vt::test
