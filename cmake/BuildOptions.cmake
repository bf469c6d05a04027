# The compiler options of the project's own targets, as two targets that each
# of them links PRIVATE:
#   norvane_warnings    the warnings, the same for every toolchain;
#   norvane_sanitizers  the instrumentation that NORVANE_SANITIZE and NORVANE_FUZZ
#                       ask for (the linux-asan and linux-fuzz presets set them).
# Nothing is set for the whole build: a target that links neither fails the
# configuration (norvane_check_build_options, at the end of the top level).

option(NORVANE_SANITIZE "Instrument every target with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(NORVANE_FUZZ "Build the libFuzzer targets (clang); every target instrumented for them and sanitised" OFF)

add_library(norvane_warnings INTERFACE)
target_compile_options(norvane_warnings INTERFACE "$<$<COMPILE_LANGUAGE:C,CXX>:-Wall;-Wextra>")

add_library(norvane_sanitizers INTERFACE)
if(NORVANE_SANITIZE OR NORVANE_FUZZ)
  target_compile_options(norvane_sanitizers INTERFACE
    "$<$<COMPILE_LANGUAGE:C,CXX>:-fsanitize=address,undefined;-fno-sanitize-recover=undefined;-fno-omit-frame-pointer>")
  target_link_options(norvane_sanitizers INTERFACE -fsanitize=address,undefined)
endif()
if(NORVANE_FUZZ)
  # Coverage feedback for libFuzzer in all code; -fsanitize=fuzzer, which brings
  # libFuzzer's main, goes on the fuzzers alone (tests/fuzz).
  target_compile_options(norvane_sanitizers INTERFACE "$<$<COMPILE_LANGUAGE:C,CXX>:-fsanitize=fuzzer-no-link>")
endif()

# Fails the configuration if a compiled target of the project does not link
# both (GoogleTest, built from /usr/src in cross builds, is not ours).
function(norvane_check_build_options)
  set(missing)
  set(dirs ${PROJECT_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${dir}" inside)
    if(NOT inside)
      continue()
    endif()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
        continue()
      endif()
      get_target_property(libraries ${target} LINK_LIBRARIES)
      if(NOT norvane_warnings IN_LIST libraries OR NOT norvane_sanitizers IN_LIST libraries)
        list(APPEND missing ${target})
      endif()
    endforeach()
  endwhile()
  if(missing)
    list(JOIN missing " " missing)
    message(FATAL_ERROR "These targets do not link both norvane_warnings and norvane_sanitizers: ${missing}\n"
      "Add target_link_libraries(<target> PRIVATE norvane_warnings norvane_sanitizers).")
  endif()
endfunction()
