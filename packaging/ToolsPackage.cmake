# The tools as a Debian package: `cpack -G DEB` in the build folder (or the `package`
# target) makes lumetrix_<version>_<arch>.deb with everything `cmake --install` puts under
# /usr, its dependencies worked out from the binaries by dpkg-shlibdeps.

# Debian's documentation files: the copyright and a compressed changelog.
set(doc_folder ${CMAKE_CURRENT_BINARY_DIR}/tools-doc)
file(MAKE_DIRECTORY ${doc_folder})
file(READ ${CMAKE_CURRENT_SOURCE_DIR}/tools/changelog changelog)
file(WRITE ${doc_folder}/changelog "${changelog}")
find_program(GZIP_EXECUTABLE gzip REQUIRED)
# -n: no name or time in the header, so the file is the same at every build.
execute_process(COMMAND ${GZIP_EXECUTABLE} -9nf ${doc_folder}/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/tools/copyright ${doc_folder}/changelog.gz
  DESTINATION share/doc/lumetrix)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumetrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT ${LUMETRIX_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulated iPhone running the Lumetrix home-bar tweak")
# The extended description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Lumetrix turns the home bar of a gesture-navigated iPhone into a now-playing
control: a progress strip tinted by the album artwork, previous, play/pause
and next on a tap, and swipes that skip 15 seconds.

This package holds lumetrix-sim, which runs SpringBoard with the tweak
loaded on a headless, deterministic simulated phone driven by scenario
files (with a demo and a live phone served to a browser); lumetrix-colour,
the average colour of artwork as the tweak works it out; lumetrix-host; and
the tweak itself as the package a device installs.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${LUMETRIX_PACKAGE_ARCHITECTURE})
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The renderer draws San Francisco's stand-in, DejaVu Sans, through fontconfig.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# lumetrix-sim keeps a dpkg database, but the simulated device's, beneath its device root.
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/tools/lintian-overrides DESTINATION share/lintian/overrides RENAME lumetrix)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
