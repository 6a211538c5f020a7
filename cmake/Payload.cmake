# The payload: what the programs load and read at run time, laid out the same way in the
# build tree and in an installed tree:
#
#   bin/                programs (the build tree keeps them in their own folders)
#   lib/lumetrix/       the platform libraries, the tweak and the pane (RUNPATH $ORIGIN)
#   share/lumetrix/     data: the device payload, the demo scenario and its media
#
# Programs find their payload from their own location (sim/payload), never through a path
# compiled in. In the build tree lib/lumetrix holds links to the built libraries and
# share/lumetrix copies of the source files, so an edit and a build are all it takes.

set(LUMETRIX_PAYLOAD_LIBRARY_DIR lib/lumetrix)
set(LUMETRIX_PAYLOAD_DATA_DIR share/lumetrix)

# The Debian architecture of what this build makes: the tools package's and the device
# package's (the libraries inside are this build's own).
if(NOT LUMETRIX_PACKAGE_ARCHITECTURE)
  find_program(DPKG_EXECUTABLE dpkg)
  if(DPKG_EXECUTABLE)
    execute_process(COMMAND ${DPKG_EXECUTABLE} --print-architecture
      OUTPUT_VARIABLE LUMETRIX_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE)
  elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64")
    set(LUMETRIX_PACKAGE_ARCHITECTURE amd64)
  elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "aarch64|arm64")
    set(LUMETRIX_PACKAGE_ARCHITECTURE arm64)
  else()
    set(LUMETRIX_PACKAGE_ARCHITECTURE ${CMAKE_SYSTEM_PROCESSOR})
  endif()
  set(LUMETRIX_PACKAGE_ARCHITECTURE ${LUMETRIX_PACKAGE_ARCHITECTURE} CACHE STRING "Debian architecture of the packages")
endif()

option(LUMETRIX_INSTALL_STRIP "Strip debugging information and symbols from installed programs and libraries" ON)

# Programs and libraries of the payload are linked with the RUNPATH they are installed
# with: the build tree's lib/lumetrix makes it hold there too. Were the install to rewrite
# a build RUNPATH instead, CMake would pad the build's with ':', an empty element that
# makes the loader search the current folder. Stripping at install drops the debugging
# information, which names the build's files.
macro(_lumetrix_install_strip file)
  if(LUMETRIX_INSTALL_STRIP AND CMAKE_STRIP)
    install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded --remove-section=.comment \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${file}\" COMMAND_ERROR_IS_FATAL ANY)")
  endif()
endmacro()

# A shared library of the payload: installed into lib/lumetrix and found there by the
# programs and by the libraries beside it. New libraries take one call each.
function(lumetrix_payload_library target)
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN" BUILD_WITH_INSTALL_RPATH ON)
  install(TARGETS ${target} LIBRARY DESTINATION ${LUMETRIX_PAYLOAD_LIBRARY_DIR})
  _lumetrix_install_strip("${LUMETRIX_PAYLOAD_LIBRARY_DIR}/$<TARGET_FILE_NAME:${target}>")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/${LUMETRIX_PAYLOAD_LIBRARY_DIR}
    COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:${target}>
      ${PROJECT_BINARY_DIR}/${LUMETRIX_PAYLOAD_LIBRARY_DIR}/$<TARGET_FILE_NAME:${target}>
    VERBATIM)
endfunction()

# A program users run: installed into bin/, finding the payload's libraries beside it.
function(lumetrix_payload_program target)
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/../${LUMETRIX_PAYLOAD_LIBRARY_DIR}" BUILD_WITH_INSTALL_RPATH ON)
  install(TARGETS ${target} RUNTIME DESTINATION bin)
  _lumetrix_install_strip("bin/$<TARGET_FILE_NAME:${target}>")
endfunction()

# Source files of the payload's data: copied into the build tree's share/lumetrix/DEST and
# installed into share/lumetrix/DEST (as RENAME when one file takes another name there).
# The copies follow edits (each is a configure dependency).
function(lumetrix_payload_files)
  cmake_parse_arguments(PARSE_ARGV 0 ARG "" "DESTINATION;RENAME" "FILES")
  foreach(file IN LISTS ARG_FILES)
    get_filename_component(name ${file} NAME)
    if(ARG_RENAME)
      set(name ${ARG_RENAME})
    endif()
    configure_file(${file} ${PROJECT_BINARY_DIR}/${LUMETRIX_PAYLOAD_DATA_DIR}/${ARG_DESTINATION}/${name} COPYONLY)
    install(FILES ${file} DESTINATION ${LUMETRIX_PAYLOAD_DATA_DIR}/${ARG_DESTINATION} RENAME ${name})
  endforeach()
endfunction()

# Every file of a source folder (not its subfolders), as lumetrix_payload_files.
function(lumetrix_payload_folder folder)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "DESTINATION" "")
  file(GLOB files CONFIGURE_DEPENDS LIST_DIRECTORIES false ${folder}/*)
  lumetrix_payload_files(DESTINATION ${ARG_DESTINATION} FILES ${files})
endfunction()

# A deliverable loaded into a host process (the tweak, the pane) exports what the host
# and the runtime need of it and keeps its own C++ inside (DeliverableExports.map): its
# load then binds most references in place instead of looking them up process-wide.
function(lumetrix_deliverable_exports target)
  set(map ${PROJECT_SOURCE_DIR}/cmake/DeliverableExports.map)
  target_link_options(${target} PRIVATE LINKER:--version-script=${map})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
endfunction()
