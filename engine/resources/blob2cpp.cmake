# Writes the binary grid GR3DF97A as a C++ source defining the array that
# ressource_posix.cpp gives the engine, for the builds whose assembler cannot
# include a binary file (WebAssembly). The compiler checks its size, as the
# assembler does in gr3df97a_blob.S.
# cmake -DGR3DF97A_BIN=<binary grid> -DSORTIE=<source to write> -P blob2cpp.cmake
file(READ ${GR3DF97A_BIN} octets HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," octets "${octets}")
string(REPEAT "0x..," 24 ligne)
string(REGEX REPLACE "(${ligne})" "\\1\n" octets "${octets}")
file(WRITE ${SORTIE}.tmp
"// Generated from the binary grid GR3DF97A by blob2cpp.cmake: do not edit.
extern \"C\" {
extern const unsigned char geokern_GR3DF97A[];
alignas(8) const unsigned char geokern_GR3DF97A[] = {
${octets}};
}
static_assert(sizeof(geokern_GR3DF97A) == 484848, \"the grid GR3DF97A is not 17,316 records of 28 bytes\");
")
file(RENAME ${SORTIE}.tmp ${SORTIE})
