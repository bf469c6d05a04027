# Inspects geokern.dll: PE format, the ten exports by plain name at ordinals
# 1 to 10 and nothing else (the first eight's ordinals are those of the first
# releases), no MinGW runtime DLL, no thread, event or exception
# machinery (pure computations need none), and the grid resource.
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
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(\t\\[[^\n]+\n)+" table "${sortie}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" lignes "${table}")
set(noms LectureGrille_GR3DF97A ChangementDatum SysGeo2SysProj SysProj2SysGeo
         Lambert2Lambert SysCoord2SysCoord CSysCoord2SysCoord SysCoord2SysCoordTableau
         CodeSysCoord DescriptionSysCoord)
list(LENGTH lignes nombre)
list(LENGTH noms attendus)
if(NOT nombre EQUAL attendus)
  message(FATAL_ERROR "expected ${attendus} named exports, found ${nombre}: ${lignes}")
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
string(REGEX MATCH "The Import Tables.*The Export Tables" imports "${sortie}")
if(imports MATCHES "[\t ](CreateThread|CreateEvent[AW]?|CreateSemaphore[AW]?|AddVectoredExceptionHandler|RaiseException|SetUnhandledExceptionFilter|_beginthreadex)\n")
  message(FATAL_ERROR "imports ${CMAKE_MATCH_1}: the runtime's thread or exception code came in")
endif()

# The resource directory: RCDATA (10) -> "GR3DF97A" -> language neutral (0)
# -> one leaf of 484,848 bytes (0x765f0).
string(REGEX MATCH "The .rsrc Resource Directory section:.*" rsrc "${sortie}")
if(NOT rsrc MATCHES "Entry: ID: 0x00000a, [^\n]*\n[^\n]*Name Table[^\n]*\n[^\n]*]: GR3DF97A, [^\n]*\n[^\n]*Language Table[^\n]*\n[^\n]*Entry: ID: 00000000, [^\n]*\n[^\n]*Leaf: Addr: 0x[0-9a-f]+, Size: 0x0765f0,")
  message(FATAL_ERROR "no language-neutral RCDATA resource GR3DF97A of 484848 bytes:\n${rsrc}")
endif()
message(STATUS "${DLL}: ${ATTENDU_FORMAT}, ${attendus} exports at ordinals 1-${attendus}, grid resource present")
