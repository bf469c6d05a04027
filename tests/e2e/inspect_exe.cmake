# Inspects norvane.exe: PE format, Windows GUI subsystem, only system DLLs
# imported (no MinGW runtime DLL) and no link to geokern, which the program
# loads at run time.
# -DEXE=... -DOBJDUMP=... -DEXPECTED_FORMAT=pei-i386|pei-x86-64
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${EXE}")
endif()
if(NOT out MATCHES "file format ${EXPECTED_FORMAT}")
  message(FATAL_ERROR "${EXE} is not ${EXPECTED_FORMAT}")
endif()
if(NOT out MATCHES "Subsystem\t\t00000002")
  message(FATAL_ERROR "${EXE} is not a Windows GUI program")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${out}")
string(TOLOWER "${imports}" imports)
foreach(import IN LISTS imports)
  string(REPLACE "dll name: " "" dll "${import}")
  if(NOT dll MATCHES "^(kernel32|user32|comctl32|oleaut32|gdi32|msvcrt|advapi32)\\.dll$")
    message(FATAL_ERROR "${EXE} imports ${dll}")
  endif()
endforeach()
message(STATUS "${EXE}: ${EXPECTED_FORMAT}, Windows GUI, imports ${imports}")
