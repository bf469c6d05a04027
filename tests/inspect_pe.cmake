# inspect_pe(<exe> <format> <subsystem> <dll-regex> <out-var>): the checks every
# Windows program of the project passes: its PE format (pei-i386 or
# pei-x86-64), its subsystem (2 Windows GUI, 3 console), and DLL imports among
# the allowed ones alone (no MinGW runtime DLL). Sets <out-var> to objdump's
# report, for the caller's own checks. Included by the inspection scripts.
function(inspect_pe exe format subsystem allowed out_var)
  execute_process(COMMAND ${OBJDUMP} -p ${exe} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump failed on ${exe}")
  endif()
  if(NOT out MATCHES "file format ${format}")
    message(FATAL_ERROR "${exe} is not ${format}")
  endif()
  if(NOT out MATCHES "Subsystem\t\t0000000${subsystem}")
    message(FATAL_ERROR "${exe} is not of subsystem ${subsystem}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${out}")
  string(TOLOWER "${imports}" imports)
  foreach(import IN LISTS imports)
    string(REPLACE "dll name: " "" dll "${import}")
    if(NOT dll MATCHES "^(${allowed})\\.dll$")
      message(FATAL_ERROR "${exe} imports ${dll}")
    endif()
  endforeach()
  message(STATUS "${exe}: ${format}, subsystem ${subsystem}, imports ${imports}")
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()
