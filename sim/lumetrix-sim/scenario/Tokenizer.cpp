#include "Tokenizer.h"

namespace sim::scenario {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char unescape(char c)
{
    switch (c) {
    case '"':
    case '\\':
        return c;
    case 'n':
        return '\n';
    case 't':
        return '\t';
    case 'r':
        return '\r';
    default:
        throw TokenizeError(std::string("unknown escape \\") + c + " in a string (expected \\\", \\\\, \\n, \\t or \\r)");
    }
}

} // namespace

std::vector<Token> tokenizeLine(std::string_view line)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isSpace(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#')
            break;

        Token token;
        std::size_t start = i;
        bool sawQuote = false;
        bool sawBare = false;
        while (i < line.size() && !isSpace(line[i])) {
            if (line[i] != '"') {
                token.text += line[i++];
                sawBare = true;
                continue;
            }
            sawQuote = true;
            std::size_t opening = i++;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\') {
                    if (i >= line.size())
                        break;
                    token.text += unescape(line[i++]);
                } else
                    token.text += c;
            }
            if (!closed)
                throw TokenizeError("unterminated string starting at column " + std::to_string(opening + 1) + " (expected a closing \")");
        }
        token.quoted = sawQuote && !sawBare;
        token.source = std::string(line.substr(start, i - start));
        tokens.push_back(std::move(token));
    }
    return tokens;
}

} // namespace sim::scenario
