#pragma once
// What became of each scenario file of a run, as the summary lines on standard output
// and the JUnit report (`--junit FILE`) tell it.

#include <cstdio>
#include <string>
#include <vector>

namespace sim {

struct FileResult {
    enum class Outcome {
        Passed,
        Failed, // an expectation failed, or a simulated process stopped
        Error, // malformed: nothing ran
        NotRun, // another file was malformed, or the run was interrupted first
    };
    std::string file; // as the user named it
    Outcome outcome = Outcome::NotRun;
    int checks = 0;
    int failures = 0;
    double virtualSeconds = 0;
    double wallSeconds = 0;
    // FILE:LINE: ... for each failure (the first few) or the error.
    std::vector<std::string> messages;
};

// "PASS demo.scenario (37 expects, 97.5 virtual s, 0.4 s)" or "FAIL x.scenario:12:
// expected ..." for a file that ran or was malformed; nothing for one that did not run.
std::string summaryLine(const FileResult&);
// "N passed, N failed" (and how many were malformed or did not run, when any).
std::string closingLine(const std::vector<FileResult>&);

// A JUnit XML report: one testsuite for the run, one testcase per file (failure, error or
// skipped as it went). Throws std::runtime_error when the file cannot be written.
std::string junitReport(const std::vector<FileResult>&);
void writeJUnitReport(const std::string& path, const std::vector<FileResult>&);

} // namespace sim
