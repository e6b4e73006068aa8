// Builds small systems in code for solver tests and benchmarks: each call creates one element,
// places it at the end of a line through the store's own operations and returns its number.
#pragma once

#include <array>
#include <string>

#include "model/project.h"

namespace vt::test {

// Water at 60 F, atmospheric pressure 14.7 psia, flow tolerance 0.001 gpm, display units gpm and
// ft liq (factor 1).
void useWaterAndPlainUnits(Project& p);

class SystemBuilder {
 public:
  explicit SystemBuilder(Project& p);

  // Supplies: elevations and pressure heads in feet; supplyType 0 open tank, 1 closed tank,
  // 2 force main, 3 free discharge. A tank gets no inlet/exit loss unless inletK is given.
  int supply(int line, const std::string& id, double elevFt, double pressureFt = 0, int supplyType = 0,
             float inletK = 0, float inletDiaIn = 0);
  // Pipes: length in feet, inside diameter in inches, friction as the project's equation reads it.
  int pipe(int line, const std::string& id, double lengthFt, double diaIn, double friction);
  int gauge(int line, const std::string& id, double elevFt, float demandGpm = 0);
  // Defined pump: heads (ft) at 0, incr, 2 incr, 3 incr; fitted on creation.
  int pump(int line, const std::string& id, std::array<float, 4> heads, float incr, double elevFt = 0, int dir = 1);
  int undefinedPump(int line, const std::string& id, float designFlow, double elevFt = 0, int dir = 1);
  // Valve (type 4) or fitting (type 2) of a kind code; parm by kind (set pressure head, set flow, ...).
  int valve(int line, const std::string& id, int code, float k, float diaIn, int dir = 1, float parm = 0,
            double elevFt = 0, int type = kValve);
  int fvh(int line, const std::string& id, float incr, float h1, float h2, double elevFt = 0, int dir = 1);
  // Places an existing gauge or supply again, at the end of another line (a junction).
  int place(int line, int n);

  Project& project() { return p_; }

 private:
  int create(int type, const std::string& id);
  Project& p_;
};

}  // namespace vt::test
