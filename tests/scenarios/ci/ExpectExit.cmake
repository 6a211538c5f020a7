# Runs one program and checks its exit status and, when given, text in its output.
# -DCOMMAND="program;arg;..." -DSTATUS=N [-DTEXT=text expected on stdout or stderr]
execute_process(COMMAND ${COMMAND} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 60)
if(NOT status STREQUAL STATUS)
  message(FATAL_ERROR "${COMMAND}: exit status ${status}, expected ${STATUS}\n--- stdout:\n${output}\n--- stderr:\n${errors}")
endif()
if(DEFINED TEXT)
  string(FIND "${output}${errors}" "${TEXT}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "${COMMAND}: the output lacks \"${TEXT}\"\n--- stdout:\n${output}\n--- stderr:\n${errors}")
  endif()
endif()
