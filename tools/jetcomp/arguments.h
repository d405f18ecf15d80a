// The command line as Harbek passes it: -src:<path> -dest:<path>, in either order, the
// prefixes in any letter case. The platform's splitting has already removed the quotes.
#pragma once

#include <string>

namespace jetcomp {

struct Arguments {
    enum class Kind { copy, help, invalid };
    Kind kind = Kind::invalid;
    std::wstring source;
    std::wstring destination;
    std::wstring problem;  // for Kind::invalid: why the command line was refused, one line
};

// argv[0] is the program itself and is skipped. A help switch anywhere wins over any problem.
Arguments parseArguments(int argc, const wchar_t* const argv[]);

}  // namespace jetcomp
