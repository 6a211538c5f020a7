# Precompiled headers for the heaviest headers every source pays for: the JSON library
# (NSObject.h includes it, so every file that uses the platform parses it), the
# platform's umbrella headers, GoogleTest, and the standard library. One precompiled
# header per kind of compilation (GCC uses one only with the same flags and macros):
# the platform's own; the libraries on it, with and without cairo; the test executables,
# with and without cairo. Every target of a kind shares its kind's header.
#
# Through ccache the header's build and its users are cached too: scripts/build runs the
# compiler with the sloppiness ccache needs for precompiled headers.
option(LUMETRIX_PRECOMPILED_HEADERS "Precompile the heaviest headers" ON)

set(LUMETRIX_PCH_STANDARD
  <algorithm> <cmath> <cstdint> <cstdio> <cstdlib> <cstring> <filesystem> <fstream> <functional>
  <map> <memory> <optional> <sstream> <string> <unordered_map> <utility> <vector>
  <nlohmann/json.hpp>)

# `target` precompiles HEADERS for itself, or uses the header REUSE_FROM made (same
# compiler flags: both PIC libraries, or both executables).
function(lumetrix_precompile target)
  if(NOT LUMETRIX_PRECOMPILED_HEADERS OR NOT TARGET ${target})
    return()
  endif()
  cmake_parse_arguments(ARG "" "REUSE_FROM" "HEADERS" ${ARGN})
  if(ARG_REUSE_FROM)
    target_precompile_headers(${target} REUSE_FROM ${ARG_REUSE_FROM})
  else()
    target_precompile_headers(${target} PRIVATE ${ARG_HEADERS})
  endif()
endfunction()

function(lumetrix_precompile_project)
  set(platform_headers ${LUMETRIX_PCH_STANDARD} <Foundation/Foundation.h> <UIKit/UIKit.h>)
  # The platform itself: not its UIKit umbrella, which changes more often than the rest.
  lumetrix_precompile(platform HEADERS ${LUMETRIX_PCH_STANDARD} <Foundation/Foundation.h>)
  # What builds on the platform, as position-independent libraries. The deliverables'
  # <target>_EXPORTS macros would make a shared header unusable for the others (GCC
  # refuses a precompiled header made with a macro the user does not define), and
  # nothing reads them.
  set_target_properties(lumetrix lumetrixpref PROPERTIES DEFINE_SYMBOL "")
  lumetrix_precompile(lumetrix HEADERS ${platform_headers})
  lumetrix_precompile(lumetrixpref REUSE_FROM lumetrix)
  lumetrix_precompile(simhost REUSE_FROM lumetrix)
  # Cairo's flags define _REENTRANT, so what draws has headers of its own. The simulator
  # loads the renderer rather than linking it, so it has the deliverables' kind.
  lumetrix_precompile(simrender HEADERS ${platform_headers})
  foreach(part simcore simmusicparts simserveparts)
    lumetrix_precompile(${part} REUSE_FROM lumetrix)
  endforeach()
  # Test executables, likewise with and without cairo.
  lumetrix_precompile(platform_tests HEADERS ${platform_headers} <gtest/gtest.h>)
  foreach(test startup_tests tweak_tests lumetrix_sim_run_tests serve_safety_tests serve_robustness_tests music_tests)
    lumetrix_precompile(${test} REUSE_FROM platform_tests)
  endforeach()
  lumetrix_precompile(render_tests HEADERS ${platform_headers} <gtest/gtest.h>)
  foreach(test render_screen_tests render_command_tests settings_tests lumetrix_sim_tests serve_tests)
    lumetrix_precompile(${test} REUSE_FROM render_tests)
  endforeach()
endfunction()
