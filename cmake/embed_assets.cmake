# Writes a C++ source that holds asset files (style sheets, scripts) as text, so a
# page's script is edited as a script and still built into the program.
#   cmake -DOUTPUT=FILE.cpp -DNAMESPACE=NS -DASSETS="kName=path|..." -P embed_assets.cmake
# Each kName becomes `extern const char kName[]`: the file's bytes and a NUL.
set(text "// Made at build time by cmake/embed_assets.cmake from the asset files; not edited.\n")
string(APPEND text "namespace ${NAMESPACE} {\n")
string(REPLACE "|" ";" ASSETS "${ASSETS}")
foreach(asset IN LISTS ASSETS)
  string(FIND "${asset}" "=" at)
  string(SUBSTRING "${asset}" 0 ${at} name)
  math(EXPR from "${at} + 1")
  string(SUBSTRING "${asset}" ${from} -1 path)
  file(READ "${path}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(APPEND text "extern const char ${name}[] = {${bytes}'\\0'};\n")
endforeach()
string(APPEND text "}  // namespace ${NAMESPACE}\n")
# Rewritten only when it changes, so an unchanged asset rebuilds nothing.
file(WRITE "${OUTPUT}.in" "${text}")
configure_file("${OUTPUT}.in" "${OUTPUT}" COPYONLY)
