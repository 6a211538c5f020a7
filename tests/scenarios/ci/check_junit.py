#!/usr/bin/env python3
"""Reads a JUnit report with junitparser (a reader no one here wrote) and checks that it
holds one suite with a passed case for the first file and a failed one for the second.
Exit 77 when junitparser is not installed."""
import sys

try:
    from junitparser import Failure, JUnitXml, TestSuite
except ImportError:
    print("python3-junitparser is not installed")
    sys.exit(77)

report, passing, failing = sys.argv[1:4]
xml = JUnitXml.fromfile(report)
suites = list(xml) if isinstance(xml, JUnitXml) else [xml]
assert len(suites) == 1 and isinstance(suites[0], TestSuite), suites
suite = suites[0]
assert suite.tests == 2 and suite.failures == 1 and suite.errors == 0, (suite.tests, suite.failures, suite.errors)
cases = {case.name: case for case in suite}
assert set(cases) == {passing, failing}, cases.keys()
assert cases[passing].is_passed, cases[passing].result
assert cases[passing].time > 0
results = cases[failing].result
assert len(results) == 1 and isinstance(results[0], Failure), results
assert results[0].message.startswith(failing + ":6: expected globals.enable == false, got true"), results[0].message
assert failing + ":7: expected events type=sound >= 1, got 0" in results[0].text, results[0].text
print("the JUnit report reads as expected")
