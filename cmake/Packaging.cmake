# The Debian package (make package, CPack's DEB generator): the geokern library
# with its header, CMake and pkg-config files, the two command-line programs
# and the declination grids in share/norvane. Its dependencies come from
# dpkg-shlibdeps, so that `apt install ./geokern_<version>_<arch>.deb` brings
# them in.
include(GNUInstallDirs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME geokern)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "norvane")
set(CPACK_PACKAGE_CONTACT "norvane maintainers <maintainers@norvane.example>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "coordinate transformations and magnetic declination for France")
# The long description, after the summary line CPack writes first; an empty
# line separates paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "geokern transforms coordinates between the French national systems: NTF
Lambert I to IV and their carto variants, Lambert II etendu, NTF geographic,
RGF93 Lambert 93 and geographic, and WGS84, with the NTF to RGF93 datum-shift
grid GR3DF97A built in. The package holds the shared library, its C header,
its CMake and pkg-config files, and geokern-conv, which converts files of
points between any two of these systems.

norvane-cli gives the magnetic declination and its annual variation in
metropolitan France from 2009 to 2015, as the Norvane calculator computes
them, for one place or for files of places and dates, with the meridian
convergence of Lambert 93 for map users.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # geokern_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# norvane-cli and geokern-conv need libgeokern.so from this same package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/engine)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The library in /usr/lib: dpkg runs ldconfig through its trigger.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/debian/triggers)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

# The documentation Debian asks of every package: copyright and changelog.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/geokern)
set(changelog_gz ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/debian/changelog > ${changelog_gz}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
  COMMENT "Compressing the package's changelog")
add_custom_target(package_changelog ALL DEPENDS ${changelog_gz})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${changelog_gz} DESTINATION ${doc_dir})

include(CPack)
