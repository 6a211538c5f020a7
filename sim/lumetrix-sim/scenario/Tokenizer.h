#pragma once
// Splits one scenario line into words. A word is a run of characters up to a space; a
// double quote inside it opens a string that runs to the next unescaped quote, so
// `"two words"` and `text="two words"` are each one word. `#` outside a string ends the
// line.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sim::scenario {

struct Token {
    // The word with quotes removed and escapes resolved.
    std::string text;
    // The whole word was one quoted string (so `"true"` is a string, never a boolean).
    bool quoted = false;
    // The word as written, for messages.
    std::string source;
};

// A line that cannot be split (an unterminated string, an unknown escape).
class TokenizeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::vector<Token> tokenizeLine(std::string_view line);

} // namespace sim::scenario
