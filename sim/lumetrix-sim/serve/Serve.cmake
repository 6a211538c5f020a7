# `lumetrix-sim serve`: the live phone's server, built into lumetrixsim, with the page's
# files embedded at build time (no build step for the page itself).
pkg_check_modules(CPP_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
set(SERVE_DIR ${CMAKE_CURRENT_LIST_DIR})
file(GLOB SERVE_SOURCES CONFIGURE_DEPENDS ${SERVE_DIR}/*.cpp)
file(GLOB SERVE_PAGE_FILES CONFIGURE_DEPENDS ${SERVE_DIR}/web/*)
set(SERVE_PAGE_CPP ${CMAKE_CURRENT_BINARY_DIR}/PageAssets.cpp)
add_custom_command(OUTPUT ${SERVE_PAGE_CPP}
  COMMAND ${CMAKE_COMMAND} -DWEB=${SERVE_DIR}/web -DOUT=${SERVE_PAGE_CPP} -P ${SERVE_DIR}/EmbedPageAssets.cmake
  DEPENDS ${SERVE_PAGE_FILES} ${SERVE_DIR}/EmbedPageAssets.cmake
  COMMENT "Embedding the live phone's page")
target_sources(lumetrixsim PRIVATE ${SERVE_SOURCES} ${SERVE_PAGE_CPP})
find_package(Threads REQUIRED)
target_link_libraries(lumetrixsim PUBLIC PkgConfig::CPP_HTTPLIB imageencoding Threads::Threads)
