// What every reader does to a record it has just read: derived curve fields are recomputed from
// their inputs, and results that depend on them follow when the project holds a solution.
#pragma once

#include "model/records.h"

namespace vt {

// A pump whose curve is defined is refitted. With `solved`, a good fit recomputes Head at the
// pump's flow (beyond 3 increments the head falls as 1/flow from Head3) and NPSHR at its flow when
// it has an NPSHR curve; NPSHR is blank otherwise.
void refreshPump(Pump& p, bool solved);
// An FVH is refitted; with `solved` and a good fit its head loss is recomputed at its flow.
void refreshFvh(FVH& f, bool solved);
// Nominal sizes in older records are inches: they become the position of an equal size in the
// inch table, or -1.
void convertOldNominalSize(Pipe& p);

}  // namespace vt
