// The element records of the two earlier program versions and their conversion to the current
// records. Version 1.0 records carry no ID; version 2.0 records (in project files and in the older
// clipboard files) start with the ID as a one-byte short string of at most 15 characters.
//
// A converted record starts all zero: fields that the old layout does not hold, line membership
// and the flag byte are 0.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/records.h"

namespace vt {

enum class OldLayout { V10, V20 };

// Size of the old record of an element type code; 0 for a code outside 1..7.
size_t oldRecordSize(OldLayout layout, int type);

// `b` points at oldRecordSize() bytes.
Pipe convertOldPipe(const uint8_t* b, OldLayout layout);
Valfit convertOldValfit(const uint8_t* b, OldLayout layout);
Pump convertOldPump(const uint8_t* b, OldLayout layout);
Node convertOldNode(const uint8_t* b, OldLayout layout);
// The older clipboard files hold no head loss for an FVH: `keepHeadLoss` false sets it to 0.
FVH convertOldFvh(const uint8_t* b, OldLayout layout, bool keepHeadLoss);

}  // namespace vt
