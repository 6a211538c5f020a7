# Golden pictures: a missing one fails unless --update-snapshots writes it; then the same
# scenario matches it byte for byte (pictures are stable run to run); another screen is
# a mismatch with the count of differing pixels and FILE.diff.png beside the golden one.
# The Settings app's picture works the same way.
# -DSIM=lumetrix-sim -DSOURCE=this folder -DWORK=folder for the outputs
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/locked.scenario
  "boot\nwait 4\nexpect-snapshot golden/locked.png\nexpect-snapshot golden/strip.png crop lockscreen\nsettings open\nsettings expect-snapshot golden/settings.png\nsnapshot again.png\n")

function(run_sim expected)
  execute_process(COMMAND ${SIM} run ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL expected)
    message(FATAL_ERROR "lumetrix-sim run ${ARGN}: exit status ${status}, expected ${expected}\n${errors}\n${output}")
  endif()
  set(errors "${errors}" PARENT_SCOPE)
endfunction()

run_sim(1 ${WORK}/locked.scenario)
string(FIND "${errors}" "locked.scenario:3: expected the golden picture ${WORK}/golden/locked.png, got none (run with --update-snapshots to write it)" found)
if(found EQUAL -1 OR EXISTS ${WORK}/golden/locked.png)
  message(FATAL_ERROR "a missing golden picture must fail and stay missing:\n${errors}")
endif()

run_sim(0 ${WORK}/locked.scenario --update-snapshots)
foreach(picture locked strip settings)
  string(FIND "${errors}" "wrote the golden picture ${WORK}/golden/${picture}.png (--update-snapshots)" found)
  if(found EQUAL -1 OR NOT EXISTS ${WORK}/golden/${picture}.png)
    message(FATAL_ERROR "--update-snapshots did not write ${picture}.png:\n${errors}")
  endif()
endforeach()

# The same scenario again: the same bytes, so the golden pictures hold.
run_sim(0 ${WORK}/locked.scenario)
file(SHA256 ${WORK}/golden/locked.png golden)
file(SHA256 ${WORK}/again.png again)
if(NOT golden STREQUAL again)
  message(FATAL_ERROR "two runs of the same scenario drew different bytes")
endif()

# Unlocked, the screen differs from the locked golden picture.
file(WRITE ${WORK}/unlocked.scenario "boot\nwait 4\nunlock\nexpect-snapshot golden/locked.png tolerance 255\nexpect-snapshot golden/locked.png\n")
run_sim(1 ${WORK}/unlocked.scenario)
if(NOT errors MATCHES "unlocked.scenario:5: expected the picture to match [^\n]*/golden/locked.png, got [0-9]+ differing pixels; see [^\n]*/golden/locked.diff.png")
  message(FATAL_ERROR "a mismatch must say how many pixels differ and where the difference picture is:\n${errors}")
endif()
if(errors MATCHES "unlocked.scenario:4:" OR NOT EXISTS ${WORK}/golden/locked.diff.png)
  message(FATAL_ERROR "tolerance 255 accepts any picture of the same size, and the difference picture is written:\n${errors}")
endif()
