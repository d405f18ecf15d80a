// CommandLineToArgvW's rules, as Windows and Wine 8 apply them:
//  - The program name has rules of its own: when it opens with a quote it runs to the next quote,
//    whatever follows that; otherwise to the first space or tab. Backslashes and runs of quotes
//    mean nothing in it.
//  - The arguments after it are separated by spaces and tabs outside quotes (nothing else counts
//    as a separator, not even a line feed or an ideographic space).
//  - Backslashes are literal unless a quote follows them: then 2n give n and the quote toggles
//    quoting, 2n+1 give n and a literal quote.
//  - A run of unescaped quotes counts modulo 3, the quote that opened a quoted part included: the
//    first opens, the second closes, the third gives a literal quote with quoting closed. So ""
//    inside quotes gives a literal quote and closes the quoted part. (Later Visual C runtimes
//    keep it open instead; CommandLineToArgvW does not, and neither does Wine's.)
#include "tests/fuzz/windows_argv.h"

#include <cstdio>

namespace windowsargv {

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::vector<std::u16string> splitCommandLine(std::u16string_view line) {
    line = line.substr(0, line.find(u'\0'));
    std::vector<std::u16string> args;
    if (line.empty()) return args;

    const std::size_t n = line.size();
    std::size_t i = 0;

    std::u16string program;
    if (line[0] == u'"') {
        for (i = 1; i < n && line[i] != u'"'; ++i) program += line[i];
        if (i < n) ++i;  // its closing quote
    } else {
        for (; i < n && !isBlank(line[i]); ++i) program += line[i];
    }
    args.push_back(std::move(program));

    for (;;) {
        while (i < n && isBlank(line[i])) ++i;
        if (i == n) break;

        std::u16string arg;
        bool quoted = false;
        while (i < n && (quoted || !isBlank(line[i]))) {
            if (line[i] == u'\\') {
                std::size_t run = 0;
                for (; i < n && line[i] == u'\\'; ++i) ++run;
                if (i == n || line[i] != u'"') {
                    arg.append(run, u'\\');
                } else {
                    arg.append(run / 2, u'\\');
                    if (run % 2 == 1) {  // the last backslash escapes the quote
                        arg += u'"';
                        ++i;
                    }
                }
            } else if (line[i] == u'"') {
                int state = quoted ? 1 : 0;  // 0 outside, 1 inside, 2 just closed
                for (; i < n && line[i] == u'"'; ++i) {
                    if (++state == 3) {
                        arg += u'"';
                        state = 0;
                    }
                }
                quoted = state == 1;
            } else {
                arg += line[i++];
            }
        }
        args.push_back(std::move(arg));
    }
    return args;
}

std::string visible(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) {
        if (c == u'\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out;
}

}  // namespace windowsargv
