# Tools that run during the build (the grid converter). A native build builds
# them as ordinary targets; a cross build builds them as a separate project
# with the build machine's own compiler and imports the result.
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(_host_bin ${CMAKE_BINARY_DIR}/host-tools)
  ExternalProject_Add(host_gr3d2bin
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/../tools/gr3d2bin
    BINARY_DIR ${_host_bin}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${_host_bin}/gr3d2bin)
  add_executable(gr3d2bin IMPORTED GLOBAL)
  set_target_properties(gr3d2bin PROPERTIES IMPORTED_LOCATION ${_host_bin}/gr3d2bin)
  add_dependencies(gr3d2bin host_gr3d2bin)
else()
  add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/../tools/gr3d2bin ${CMAKE_BINARY_DIR}/tools/gr3d2bin)
endif()
