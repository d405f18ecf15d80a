// Recognising a Jet or ACE database by the engine name in its first page.
#pragma once

#include <cstddef>

namespace jetcomp {

// Bytes needed to see the signature: it sits at offsets 4..19.
constexpr std::size_t kSignatureEnd = 20;

// True when head (the file's first size bytes) reads "Standard Jet DB" or "Standard ACE DB",
// followed by a NUL, from byte 4 on.
bool hasDatabaseSignature(const unsigned char* head, std::size_t size);

}  // namespace jetcomp
