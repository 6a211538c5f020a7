# What a run of several files tells CI: a PASS / FAIL line per file and the closing count
# on standard output (none with --quiet), a JUnit report that a JUnit reader no one here
# wrote accepts (python3-junitparser), and an event log whose events say which file they
# came from. A scenario from standard input runs like a file.
# -DSIM=lumetrix-sim -DPYTHON=python3 with junitparser -DSOURCE=this folder -DWORK=folder for the outputs
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(pass ${SOURCE}/passes.scenario)
set(fail ${SOURCE}/fails.scenario)

execute_process(COMMAND ${SIM} run ${pass} ${fail} --junit ${WORK}/report.xml --events ${WORK}/events.jsonl
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "exit status ${status}, expected 1\n${errors}\n${output}")
endif()
foreach(text "PASS ${pass} (3 expects, 2 virtual s, " "FAIL ${fail}:6: expected globals.enable == false, got true (and 1 more)" "1 passed, 1 failed")
  string(FIND "${output}" "${text}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "standard output lacks \"${text}\":\n${output}")
  endif()
endforeach()

execute_process(COMMAND ${PYTHON} ${SOURCE}/check_junit.py ${WORK}/report.xml ${pass} ${fail}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(status EQUAL 77)
  message("SKIP: ${output}")
  return()
elseif(NOT status EQUAL 0)
  message(FATAL_ERROR "the JUnit report does not read as expected:\n${output}\n${errors}")
endif()

# Every event says its file; each file's events are its own.
file(STRINGS ${WORK}/events.jsonl events)
foreach(event IN LISTS events)
  if(NOT event MATCHES "\"file\":\"[^\"]*(passes|fails)\\.scenario\"")
    message(FATAL_ERROR "an event without its file: ${event}")
  endif()
endforeach()
list(FILTER events INCLUDE REGEX "\"type\":\"boot\"")
list(LENGTH events boots)
if(NOT boots EQUAL 2)
  message(FATAL_ERROR "expected a boot event from each file, got ${boots}")
endif()

# --quiet: silence on standard output, whatever the outcome.
execute_process(COMMAND ${SIM} run ${pass} --quiet RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT output STREQUAL "")
  message(FATAL_ERROR "--quiet: exit status ${status}, output \"${output}\"\n${errors}")
endif()

# A malformed file is an error case; nothing runs, the others are skipped.
file(WRITE ${WORK}/malformed.scenario "boot\nwait soon\n")
execute_process(COMMAND ${SIM} run ${pass} ${WORK}/malformed.scenario --junit ${WORK}/malformed.xml
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
file(READ ${WORK}/malformed.xml report)
if(NOT status EQUAL 2 OR NOT report MATCHES "<error message=\"[^\"]*malformed.scenario:2: expected a number of seconds" OR NOT report MATCHES "<skipped ")
  message(FATAL_ERROR "malformed: exit status ${status}\n${report}\n${errors}")
endif()

# Standard input: `-` as the file, named <stdin> in messages.
execute_process(COMMAND ${SIM} run - INPUT_FILE ${fail} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
string(FIND "${errors}" "<stdin>:6: expected globals.enable == false, got true" found)
if(NOT status EQUAL 1 OR found EQUAL -1)
  message(FATAL_ERROR "standard input: exit status ${status}\n${errors}")
endif()

# A kept device root does not gather the notification centre's FIFOs run after run, and
# one left by a process that is gone (a run killed outright) is swept by the next run.
set(root ${WORK}/kept-root)
file(MAKE_DIRECTORY ${root}/var/run/lumetrix-notifyd)
execute_process(COMMAND mkfifo ${root}/var/run/lumetrix-notifyd/999999.fifo)
foreach(round 1 2)
  execute_process(COMMAND ${SIM} run ${pass} --root ${root} --quiet RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "--root run ${round}: exit status ${status}\n${errors}")
  endif()
endforeach()
file(GLOB fifos ${root}/var/run/lumetrix-notifyd/*.fifo)
if(fifos)
  message(FATAL_ERROR "a kept root gathers FIFOs: ${fifos}")
endif()
