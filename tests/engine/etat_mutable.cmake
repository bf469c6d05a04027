# The library's writable data, from its symbol table: besides the toolchain's
# own (names beginning with "_", crtstuff's "completed.", and the "DW.ref."
# pointers to an unwinding personality routine, which only the dynamic loader
# writes, when it relocates the library), exactly one
# object, the 40-byte result text of CSysCoord2SysCoord. Every other export is
# re-entrant because nothing else in the engine can be written after loading;
# a static cache or counter added anywhere fails here. fast_float's probe of
# the rounding mode is not counted: a float constant it only reads, declared
# static volatile so that the compiler cannot fold the test, which puts it
# among the writable data; nothing writes it.
# -DBIBLIOTHEQUE=libgeokern.so -DNM=nm
execute_process(COMMAND ${NM} -S -C --defined-only ${BIBLIOTHEQUE}
  OUTPUT_VARIABLE sortie RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${BIBLIOTHEQUE}")
endif()
string(REPLACE "\n" ";" lignes "${sortie}")
set(objets)
foreach(ligne IN LISTS lignes)
  # address [size] type name; types b B d D are .bss and .data
  if(ligne MATCHES "^[0-9a-f]+ ([0-9a-f]+ )?[bBdD] (.+)$")
    set(nom "${CMAKE_MATCH_2}")
    if(NOT nom MATCHES "^_" AND NOT nom MATCHES "^completed\\." AND NOT nom MATCHES "^DW\\.ref\\."
       AND NOT nom STREQUAL "fast_float::detail::rounds_to_nearest()::fmin")
      list(APPEND objets "${ligne}")
    endif()
  endif()
endforeach()
list(LENGTH objets nombre)
if(NOT nombre EQUAL 1 OR NOT objets MATCHES "^[0-9a-f]+ 0+28 [bBdD] ")
  message(FATAL_ERROR "writable data other than one 40-byte text buffer:\n${objets}")
endif()
message(STATUS "one writable object: ${objets}")
