#include "RunResults.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace sim {

namespace {

std::string seconds(double value, const char* format)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Text for an XML attribute or element: the five special characters escaped, control
// characters XML cannot hold and bytes that are not UTF-8 replaced.
std::string xmlText(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '&': out += "&amp;"; continue;
        case '<': out += "&lt;"; continue;
        case '>': out += "&gt;"; continue;
        case '"': out += "&quot;"; continue;
        case '\'': out += "&apos;"; continue;
        case '\n': out += "&#10;"; continue;
        case '\t': out += "&#9;"; continue;
        default: break;
        }
        if (c < 0x20 || c == 0x7F) {
            out += '?';
            continue;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        // A whole UTF-8 sequence, or one replacement character for the byte.
        std::size_t length = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3
            : c >= 0xC2 && c < 0xE0                                ? 2
                                                                   : 0;
        bool whole = length && i + length <= text.size();
        for (std::size_t k = 1; whole && k < length; ++k)
            whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (!whole) {
            out += "\xEF\xBF\xBD";
            continue;
        }
        out.append(text, i, length);
        i += length - 1;
    }
    return out;
}

std::string joinedMessages(const FileResult& result)
{
    std::string text;
    for (auto& message : result.messages)
        text += message + "\n";
    return text;
}

} // namespace

std::string summaryLine(const FileResult& result)
{
    switch (result.outcome) {
    case FileResult::Outcome::Passed:
        return "PASS " + result.file + " (" + std::to_string(result.checks) + (result.checks == 1 ? " expect, " : " expects, ")
            + seconds(result.virtualSeconds, "%g") + " virtual s, " + seconds(result.wallSeconds, "%.1f") + " s)";
    case FileResult::Outcome::Failed:
    case FileResult::Outcome::Error: {
        std::string first = result.messages.empty() ? result.file + ": failed" : result.messages.front();
        int more = result.failures - 1;
        return "FAIL " + first + (more > 0 ? " (and " + std::to_string(more) + " more)" : "");
    }
    case FileResult::Outcome::NotRun:
        break;
    }
    return {};
}

std::string closingLine(const std::vector<FileResult>& results)
{
    int passed = 0, failed = 0, notRun = 0;
    for (auto& result : results) {
        passed += result.outcome == FileResult::Outcome::Passed;
        failed += result.outcome == FileResult::Outcome::Failed || result.outcome == FileResult::Outcome::Error;
        notRun += result.outcome == FileResult::Outcome::NotRun;
    }
    return std::to_string(passed) + " passed, " + std::to_string(failed) + " failed" + (notRun ? ", " + std::to_string(notRun) + " not run" : "");
}

std::string junitReport(const std::vector<FileResult>& results)
{
    int failures = 0, errors = 0, skipped = 0;
    double total = 0;
    for (auto& result : results) {
        failures += result.outcome == FileResult::Outcome::Failed;
        errors += result.outcome == FileResult::Outcome::Error;
        skipped += result.outcome == FileResult::Outcome::NotRun;
        total += result.wallSeconds;
    }
    auto counts = [&] {
        return "tests=\"" + std::to_string(results.size()) + "\" failures=\"" + std::to_string(failures) + "\" errors=\"" + std::to_string(errors)
            + "\" skipped=\"" + std::to_string(skipped) + "\" time=\"" + seconds(total, "%.3f") + "\"";
    };
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<testsuites name=\"lumetrix-sim\" " + counts() + ">\n";
    xml += "  <testsuite name=\"lumetrix-sim run\" " + counts() + ">\n";
    for (auto& result : results) {
        xml += "    <testcase name=\"" + xmlText(result.file) + "\" classname=\"lumetrix-sim\" file=\"" + xmlText(result.file) + "\" time=\""
            + seconds(result.wallSeconds, "%.3f") + "\"";
        std::string first = result.messages.empty() ? std::string() : result.messages.front();
        switch (result.outcome) {
        case FileResult::Outcome::Passed:
            xml += "/>\n";
            continue;
        case FileResult::Outcome::Failed:
            xml += ">\n      <failure message=\"" + xmlText(first) + "\" type=\"expect\">" + xmlText(joinedMessages(result)) + "</failure>\n";
            break;
        case FileResult::Outcome::Error:
            xml += ">\n      <error message=\"" + xmlText(first) + "\" type=\"malformed\">" + xmlText(joinedMessages(result)) + "</error>\n";
            break;
        case FileResult::Outcome::NotRun:
            xml += ">\n      <skipped message=\"" + xmlText(first.empty() ? "not run" : first) + "\"/>\n";
            break;
        }
        xml += "    </testcase>\n";
    }
    xml += "  </testsuite>\n</testsuites>\n";
    return xml;
}

void writeJUnitReport(const std::string& path, const std::vector<FileResult>& results)
{
    std::ofstream out(path, std::ios::trunc | std::ios::binary);
    out << junitReport(results);
    out.close();
    if (!out)
        throw std::runtime_error("cannot write the JUnit report " + path + ": " + std::strerror(errno));
}

} // namespace sim
