# Writes OUTPUT, a C++ file holding INPUT (finish/runtime.bas) as bytes, so
# that the program needs no file of its own at run time.
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from finish/runtime.bas by finish/runtime_embed.cmake.\n"
  "#include <cstddef>\n"
  "namespace ftvb::finish {\n"
  "extern const unsigned char runtimeBasBytes[] = {\n${bytes}0};\n"
  "extern const std::size_t runtimeBasSize = ${size};\n"
  "}  // namespace ftvb::finish\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
