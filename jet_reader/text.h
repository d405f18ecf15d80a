// Jet 4 text values: UCS-2LE, or "compressed" when they start FF FE: one byte a character (high
// byte 0), with each 0x00 byte switching to UCS-2 pairs and the next back.
#pragma once

#include "jet_reader/damage.h"
#include "platform/platform.h"

namespace jet {

// Throws Damage when the value ends inside a character.
platform::Text jet4Text(Bytes value);

// UCS-2LE as stored, never compressed (Jet 4 column names). Throws Damage on an odd byte count.
platform::Text ucs2Text(Bytes value);

}  // namespace jet
