# Inspects geokern.dll: PE format, the seven exports by plain name at ordinals
# 1 to 7 and nothing else, no MinGW runtime DLL, and the grid resource.
# -DDLL=... -DOBJDUMP=... -DATTENDU_FORMAT=pei-i386|pei-x86-64
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE sortie RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()
if(NOT sortie MATCHES "file format ${ATTENDU_FORMAT}")
  message(FATAL_ERROR "${DLL} is not ${ATTENDU_FORMAT}")
endif()

string(REGEX MATCH "Ordinal Base ([0-9]+)" _ "${sortie}")
if(NOT CMAKE_MATCH_1 EQUAL 1)
  message(FATAL_ERROR "ordinal base is ${CMAKE_MATCH_1}, not 1")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]*\n)+" table "${sortie}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" lignes "${table}")
set(noms LectureGrille_GR3DF97A ChangementDatum SysGeo2SysProj SysProj2SysGeo
         Lambert2Lambert SysCoord2SysCoord CSysCoord2SysCoord)
list(LENGTH lignes nombre)
if(NOT nombre EQUAL 7)
  message(FATAL_ERROR "expected 7 named exports, found ${nombre}: ${lignes}")
endif()
set(ordinal 0)
foreach(nom IN LISTS noms)
  # objdump lists each name with its index in the address table (ordinal - base).
  if(NOT table MATCHES "\\[ *${ordinal}\\] ${nom}\n")
    math(EXPR attendu "${ordinal} + 1")
    message(FATAL_ERROR "${nom} is not exported at ordinal ${attendu}")
  endif()
  math(EXPR ordinal "${ordinal} + 1")
endforeach()
if(table MATCHES "@")
  message(FATAL_ERROR "decorated export names: ${table}")
endif()
if(sortie MATCHES "DLL Name: (libgcc|libstdc|libwinpthread)")
  message(FATAL_ERROR "depends on a MinGW runtime DLL: ${CMAKE_MATCH_0}")
endif()

# The resource directory: RCDATA (10) -> "GR3DF97A" -> language 0 -> 484,848 bytes.
execute_process(COMMAND ${OBJDUMP} -s -j .rsrc ${DLL} OUTPUT_VARIABLE rsrc)
if(NOT rsrc MATCHES "Contents of section .rsrc")
  message(FATAL_ERROR "no resource section")
endif()
file(READ ${DLL} octets HEX)
# The name as a length-prefixed UTF-16 string, as the resource directory stores it.
if(NOT octets MATCHES "080047005200330044004600390037004100")
  message(FATAL_ERROR "no resource named GR3DF97A")
endif()
# The data entry: RVA, then the size 484848 = 0x000765F0 little-endian.
if(NOT octets MATCHES "f0650700")
  message(FATAL_ERROR "no resource of 484848 bytes")
endif()
message(STATUS "${DLL}: ${ATTENDU_FORMAT}, 7 exports at ordinals 1-7, grid resource present")
