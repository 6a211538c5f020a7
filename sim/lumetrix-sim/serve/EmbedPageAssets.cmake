# Writes a C++ file holding the page's files as string literals.
#   cmake -DWEB=<folder of the page's files> -DOUT=<file.cpp> -P EmbedPageAssets.cmake
set(assets
  "index.html|/|text/html"
  "page.js|/page.js|text/javascript"
  "page.css|/page.css|text/css"
  "favicon.svg|/favicon.svg|image/svg+xml")
set(delimiter "lumetrix_page")
set(text "// Made at build time from sim/lumetrix-sim/serve/web by EmbedPageAssets.cmake.\n")
string(APPEND text "#include \"sim/lumetrix-sim/serve/PageAssets.h\"\n\nnamespace sim {\n\nnamespace {\n\n")
set(table "")
set(index 0)
foreach(asset ${assets})
  string(REPLACE "|" ";" parts "${asset}")
  list(GET parts 0 name)
  list(GET parts 1 path)
  list(GET parts 2 type)
  file(READ "${WEB}/${name}" content)
  string(FIND "${content}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${name} holds the literal's delimiter")
  endif()
  string(APPEND text "constexpr char asset${index}[] = R\"${delimiter}(${content})${delimiter}\";\n")
  string(APPEND table "    { \"${path}\", \"${type}\", { asset${index}, sizeof(asset${index}) - 1 } },\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND text "\nconstexpr PageAsset assets[] = {\n${table}};\n\n} // namespace\n\n")
string(APPEND text "PageAsset pageAsset(std::string_view path)\n{\n    for (auto& asset : assets) {\n        if (asset.path == path)\n            return asset;\n    }\n    return {};\n}\n\n} // namespace sim\n")
file(WRITE "${OUT}.new" "${text}")
file(RENAME "${OUT}.new" "${OUT}")
