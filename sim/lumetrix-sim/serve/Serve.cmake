# `lumetrix-sim serve`: the live phone's server, libsimserve.so (loaded by `serve`; in
# lumetrixsim for the tests), with the page's files embedded at build time (no build step
# for the page itself). Its options are the command line's, in the program.
pkg_check_modules(CPP_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
set(SERVE_DIR ${CMAKE_CURRENT_LIST_DIR})
file(GLOB SERVE_SOURCES CONFIGURE_DEPENDS ${SERVE_DIR}/*.cpp)
list(FILTER SERVE_SOURCES EXCLUDE REGEX "/ServeOptions\\.cpp$")
target_sources(simcore PRIVATE ${SERVE_DIR}/ServeOptions.cpp)
file(GLOB SERVE_PAGE_FILES CONFIGURE_DEPENDS ${SERVE_DIR}/web/*)
set(SERVE_PAGE_CPP ${CMAKE_CURRENT_BINARY_DIR}/PageAssets.cpp)
add_custom_command(OUTPUT ${SERVE_PAGE_CPP}
  COMMAND ${CMAKE_COMMAND} -DWEB=${SERVE_DIR}/web -DOUT=${SERVE_PAGE_CPP} -P ${SERVE_DIR}/EmbedPageAssets.cmake
  DEPENDS ${SERVE_PAGE_FILES} ${SERVE_DIR}/EmbedPageAssets.cmake
  COMMENT "Embedding the live phone's page")
add_library(simserveparts OBJECT ${SERVE_SOURCES} ${SERVE_PAGE_CPP})
find_package(Threads REQUIRED)
target_include_directories(simserveparts PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(simserveparts PUBLIC platform PkgConfig::CPP_HTTPLIB imageencoding Threads::Threads)
# What it calls of the simulator's is the program's (exported to it), so it links only
# its own stacks.
add_library(simserve SHARED)
target_link_libraries(simserve PRIVATE simserveparts)
lumetrix_payload_library(simserve)
