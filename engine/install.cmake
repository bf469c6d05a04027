# Installing geokern for other programs: the library, its header geokern2.h,
# a CMake package (find_package(geokern) gives the target geokern::geokern)
# and a pkg-config file geokern.pc. Both descriptions find the rest of the
# installation relative to themselves, so `cmake --install --prefix` may
# choose any prefix.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(GEOKERN_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/geokern)
install(TARGETS geokern EXPORT geokernTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  PUBLIC_HEADER DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT geokernTargets NAMESPACE geokern:: DESTINATION ${GEOKERN_CMAKE_DIR})

configure_package_config_file(${GEOKERN_RACINE}/cmake/geokernConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/geokernConfig.cmake INSTALL_DESTINATION ${GEOKERN_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/geokernConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/geokernConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/geokernConfigVersion.cmake
  DESTINATION ${GEOKERN_CMAKE_DIR})

# The prefix as seen from the .pc file's own folder (pkg-config's ${pcfiledir}).
file(RELATIVE_PATH GEOKERN_PC_VERS_PREFIXE /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" GEOKERN_PC_VERS_PREFIXE "${GEOKERN_PC_VERS_PREFIXE}")
configure_file(geokern.pc.in ${CMAKE_CURRENT_BINARY_DIR}/geokern.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/geokern.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
