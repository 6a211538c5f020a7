#pragma once
// Command-line reading shared by the benchmarks that take options of their own: a number
// that does not read as one is refused (exit 2) rather than measured with a default, so a
// typo never passes for a result; --version and --help answer and exit 0.

#include "LumetrixVersion.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace bench {

// The number `text` holds whole, within [least, most], or nothing.
inline bool readNumber(const char* text, double least, double most, double& value)
{
    if (!text || !*text)
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return errno == 0 && *end == '\0' && std::isfinite(value) && value >= least && value <= most;
}

class Arguments {
public:
    // `usage` is the whole usage line, e.g. "usage: soak_bench [--hours N] ...".
    Arguments(const char* program, const char* usage, int argc, char** argv)
        : m_program(program)
        , m_usage(usage)
        , m_argc(argc)
        , m_argv(argv)
    {
    }

    // Walks the arguments; for each, `handle(this)` says whether it knew it.
    template<typename Handler>
    void read(Handler handle)
    {
        for (m_index = 1; m_index < m_argc; ++m_index) {
            const char* argument = m_argv[m_index];
            if (!std::strcmp(argument, "--help") || !std::strcmp(argument, "-h")) {
                std::printf("%s\n", m_usage);
                std::exit(0);
            }
            if (!std::strcmp(argument, "--version")) {
                std::printf("%s %s\n", m_program, LUMETRIX_VERSION);
                std::exit(0);
            }
            if (!handle(*this))
                refuse(std::string("unknown argument '") + argument + "'");
        }
    }

    bool is(const char* option) const { return !std::strcmp(m_argv[m_index], option); }

    // The value after the current option.
    const char* text()
    {
        if (m_index + 1 >= m_argc)
            refuse(std::string(m_argv[m_index]) + " needs a value");
        return m_argv[++m_index];
    }

    double number(double least, double most)
    {
        const char* option = m_argv[m_index];
        const char* value = text();
        double result = 0;
        if (!readNumber(value, least, most, result)) {
            char range[96];
            std::snprintf(range, sizeof range, "a number from %g to %g", least, most);
            refuse(std::string(option) + " needs " + range + ", got '" + value + "'");
        }
        return result;
    }

    long whole(long least, long most)
    {
        const char* option = m_argv[m_index];
        double value = number(static_cast<double>(least), static_cast<double>(most));
        if (value != std::floor(value))
            refuse(std::string(option) + " needs a whole number, got '" + m_argv[m_index] + "'");
        return static_cast<long>(value);
    }

    [[noreturn]] void refuse(const std::string& message) const
    {
        std::fprintf(stderr, "%s: %s\n%s\n", m_program, message.c_str(), m_usage);
        std::exit(2);
    }

private:
    const char* m_program;
    const char* m_usage;
    int m_argc;
    char** m_argv;
    int m_index = 1;
};

} // namespace bench
