# The parts of the tree beyond the library, the calculator and their programs.
# Each is on where its tools are found, or where it is asked for, and then its
# tools are required; the presets (make test) ask for every one of them. They
# apply where the build can have them: benchmarks and the Python package in
# native uninstrumented builds, the Debian packages' checks in native ones, the
# page in WebAssembly builds.
#   NORVANE_BENCH      benchmarks (make bench): google-benchmark, PROJ
#   NORVANE_PACKAGING  checks of the Debian packages: debhelper, lintian
#   NORVANE_PYTHON_PACKAGE  the Python package: python3-dev, pybind11
#   NORVANE_WEB        the web page: Debian's Python, ImageMagick
# (NORVANE_MAN_PAGES, for help2man, is cmake/ManPage.cmake's.)

# norvane_component(<option> <description> <found>): the option, on by default
# where <found> is true; asked for where the build can have it (_applicable)
# without its tools, the configuration fails.
macro(norvane_component option description found)
  if(${found})
    option(${option} "${description}" ON)
  else()
    option(${option} "${description}" OFF)
  endif()
  if(${option} AND _applicable AND NOT ${found})
    message(FATAL_ERROR "${option}: ${description}: tools not found (scripts/install-deps.sh)")
  endif()
endmacro()

set(_applicable ON)
if(EMSCRIPTEN)
  find_program(NORVANE_PYTHON /usr/bin/python3)
  find_program(NORVANE_CONVERT convert)  # ImageMagick
  set(_outils_web OFF)
  if(NORVANE_PYTHON AND NORVANE_CONVERT)
    set(_outils_web ON)
  endif()
  norvane_component(NORVANE_WEB "The web page (Debian's Python, ImageMagick)" _outils_web)
endif()

set(_applicable OFF)
if(NOT CMAKE_CROSSCOMPILING AND NOT NORVANE_SANITIZE AND NOT NORVANE_FUZZ)
  set(_applicable ON)
endif()
set(_outils_bench OFF)
set(NORVANE_PYTHON_FOUND OFF)
if(_applicable)  # where the build cannot have them, they are not looked for
  find_package(benchmark QUIET)
  find_package(PkgConfig QUIET)
  if(PkgConfig_FOUND)
    pkg_check_modules(PROJ QUIET proj)
  endif()
  if(benchmark_FOUND AND PROJ_FOUND)
    set(_outils_bench ON)
  endif()
  include(${CMAKE_CURRENT_LIST_DIR}/PythonModule.cmake)
endif()
norvane_component(NORVANE_BENCH "Benchmarks, make bench (google-benchmark, PROJ)" _outils_bench)
norvane_component(NORVANE_PYTHON_PACKAGE "The Python package (python3-dev, pybind11)" NORVANE_PYTHON_FOUND)

set(_applicable OFF)
if(NOT CMAKE_CROSSCOMPILING)
  set(_applicable ON)
endif()

find_program(LINTIAN_EXECUTABLE lintian)
find_program(DH_EXECUTABLE dh)
set(_outils_paquets OFF)
if(LINTIAN_EXECUTABLE AND DH_EXECUTABLE)
  set(_outils_paquets ON)
endif()
norvane_component(NORVANE_PACKAGING "Checks of the Debian packages (debhelper, lintian)" _outils_paquets)
