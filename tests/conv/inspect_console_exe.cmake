# Inspects a console program linked to geokern.dll: PE format, console
# subsystem (3), no MinGW runtime DLL, and the engine's functions imported
# from geokern.dll by their plain names.
# -DEXE=... -DOBJDUMP=... -DEXPECTED_FORMAT=pei-i386|pei-x86-64 -DGEOKERN_IMPORTS=name|name...
include(${CMAKE_CURRENT_LIST_DIR}/../inspect_pe.cmake)
inspect_pe(${EXE} ${EXPECTED_FORMAT} 3 "kernel32|msvcrt|user32|geokern" out)
# The imports from geokern.dll: objdump lists "<hint-rva> <hint> <name>" under
# the DLL's name until the next blank line.
string(REGEX MATCH "DLL Name: geokern\\.dll\n[^\n]*\n(\t[^\n]+\n)+" bloc "${out}")
if(bloc STREQUAL "")
  message(FATAL_ERROR "${EXE} imports nothing from geokern.dll")
endif()
string(REPLACE "|" ";" names "${GEOKERN_IMPORTS}")
foreach(name IN LISTS names)
  if(NOT bloc MATCHES "\t[0-9a-f]+\t +[0-9]+  ${name}\n")
    message(FATAL_ERROR "${EXE} does not import ${name} by its plain name:\n${bloc}")
  endif()
endforeach()
if(bloc MATCHES "@")
  message(FATAL_ERROR "${EXE} imports decorated names:\n${bloc}")
endif()
message(STATUS "${EXE}: from geokern.dll: ${names}")
