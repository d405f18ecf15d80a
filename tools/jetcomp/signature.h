// Recognising a Jet or ACE database by the engine name in its first page.
#pragma once

#include <cstddef>

namespace jetcomp {

// Bytes needed to see the signature: it sits at offsets 4..19.
constexpr std::size_t signature_end = 20;

// True when head (the file's first size bytes) reads "Standard Jet DB" or "Standard ACE DB",
// followed by a NUL, from byte 4 on.
bool has_database_signature(const unsigned char* head, std::size_t size);

}  // namespace jetcomp
