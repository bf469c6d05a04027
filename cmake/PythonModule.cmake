# What the Python package's extension needs: Debian's interpreter (which sees
# Debian's numpy), its headers and pybind11. Sets NORVANE_PYTHON_FOUND.
if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
  set(Python3_EXECUTABLE /usr/bin/python3)
endif()
find_package(Python3 COMPONENTS Interpreter Development.Module)
find_package(pybind11 CONFIG)
set(NORVANE_PYTHON_FOUND OFF)
if(Python3_FOUND AND pybind11_FOUND)
  set(NORVANE_PYTHON_FOUND ON)
endif()
