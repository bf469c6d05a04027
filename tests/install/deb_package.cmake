# The Debian package as a user meets it: built with CPack, its metadata read,
# unpacked into a throwaway root with dpkg-deb -x, both programs run from there
# (they find libgeokern.so through their RPATH and the grids in share/norvane),
# their answers compared with the build tree's, and lintian run on it.
# cmake -DBUILD_DIR= -DWORK_DIR= -DNORVANE_CLI= -DGEOKERN_CONV= -DLINTIAN= -P deb_package.cmake
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

execute_process(COMMAND cpack -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/cpack
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(GLOB debs ${WORK_DIR}/cpack/geokern_*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one geokern_*.deb, found: ${debs}")
endif()
get_filename_component(deb_name ${debs} NAME)
message(STATUS "package: ${deb_name}")

# Metadata: the dependencies dpkg-shlibdeps found, so that apt brings them.
execute_process(COMMAND dpkg-deb -f ${debs} Package Depends Section Maintainer
  OUTPUT_VARIABLE fields COMMAND_ERROR_IS_FATAL ANY)
foreach(expected "Package: geokern" "Depends: .*libc6 \\(>= [0-9.]+\\)" "libstdc\\+\\+6 \\(>= [0-9.]+\\)"
                 "Section: [a-z]+" "Maintainer: .+ <.+@.+>")
  if(NOT fields MATCHES "${expected}")
    message(FATAL_ERROR "the control fields lack ${expected}:\n${fields}")
  endif()
endforeach()

# Contents: the library, its header, CMake and pkg-config files, both
# programs, the grids, and Debian's copyright and changelog.
execute_process(COMMAND dpkg-deb -c ${debs} OUTPUT_VARIABLE contents COMMAND_ERROR_IS_FATAL ANY)
foreach(path usr/lib/libgeokern.so usr/include/geokern2.h usr/lib/cmake/geokern/geokernConfig.cmake
             usr/lib/pkgconfig/geokern.pc usr/bin/geokern-conv usr/bin/norvane-cli
             usr/share/norvane/Grid2009_5.dat usr/share/norvane/GridVS2013Poly.dat usr/share/norvane/IGRF14.shc
             usr/share/doc/geokern/copyright usr/share/doc/geokern/changelog.gz)
  if(NOT contents MATCHES " \\./${path}\n")
    message(FATAL_ERROR "the package lacks ${path}:\n${contents}")
  endif()
endforeach()

# Unpacked, both programs run as installed, without help from the build tree.
set(root ${WORK_DIR}/root)
execute_process(COMMAND dpkg-deb -x ${debs} ${root} COMMAND_ERROR_IS_FATAL ANY)
set(places "2013-01-01 2.35 48.85 Paris\n01/06/2015 -1.5 47.2 Nantes\n2012-02-29 7.75 48.58 Strasbourg\n")
file(WRITE ${WORK_DIR}/places.txt "${places}")
file(WRITE ${WORK_DIR}/points.txt "2.35 48.85 Paris\n-1.5 47.2 Nantes\n")
function(compare name installed built)
  execute_process(COMMAND ${installed} ${ARGN} RESULT_VARIABLE rc_installed OUTPUT_VARIABLE out_installed
    ERROR_VARIABLE err_installed)
  execute_process(COMMAND ${built} ${ARGN} RESULT_VARIABLE rc_built OUTPUT_VARIABLE out_built)
  if(NOT rc_installed EQUAL 0 OR NOT out_installed STREQUAL out_built OR out_installed STREQUAL "")
    message(FATAL_ERROR "${name} from the package (status ${rc_installed}):\n${out_installed}${err_installed}\n"
                        "from the build tree (status ${rc_built}):\n${out_built}")
  endif()
  message(STATUS "${name} from the package:\n${out_installed}")
endfunction()
compare(norvane-cli ${root}/usr/bin/norvane-cli ${NORVANE_CLI} --convergence ${WORK_DIR}/places.txt)
compare(geokern-conv ${root}/usr/bin/geokern-conv ${GEOKERN_CONV} WGS84GG RGF93L93 ${WORK_DIR}/points.txt)

# No data beside the installed program: it read share/norvane, and says where
# it looks when that is gone too.
file(REMOVE ${root}/usr/share/norvane/GridVS2013Poly.dat)
execute_process(COMMAND ${root}/usr/bin/norvane-cli ${WORK_DIR}/places.txt RESULT_VARIABLE rc
  OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR NOT err MATCHES "GridVS2013Poly\\.dat"
   OR NOT err MATCHES "usr/bin/\\.\\./share/norvane")
  message(FATAL_ERROR "without its grid, the installed norvane-cli said (status ${rc}):\n${out}${err}")
endif()

# lintian: warnings are reported, errors fail.
execute_process(COMMAND ${LINTIAN} --no-tag-display-limit ${debs} RESULT_VARIABLE rc
  OUTPUT_VARIABLE report ERROR_VARIABLE report_err)
message(STATUS "lintian ${deb_name}:\n${report}")
if(report MATCHES "(^|\n)E: ")
  message(FATAL_ERROR "lintian reports errors")
endif()
