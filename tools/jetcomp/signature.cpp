#include "signature.h"

#include <cstring>

namespace jetcomp {

bool hasDatabaseSignature(const unsigned char* head, std::size_t size) {
    if (size < kSignatureEnd) return false;
    // Each name is 15 characters; sizeof counts the terminating NUL, which must be in the file too.
    static constexpr char jet[] = "Standard Jet DB";
    static constexpr char ace[] = "Standard ACE DB";
    static_assert(sizeof jet == kSignatureEnd - 4 && sizeof ace == kSignatureEnd - 4);
    return std::memcmp(head + 4, jet, sizeof jet) == 0 || std::memcmp(head + 4, ace, sizeof ace) == 0;
}

}  // namespace jetcomp
