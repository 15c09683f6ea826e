# SPDX-License-Identifier: GPL-3.0-or-later
# Build settings every Kestrova target shares: language level, warnings,
# Qt's stricter defines and the sanitizer switch.
add_library(kestrova_settings INTERFACE)
target_compile_features(kestrova_settings INTERFACE cxx_std_20)
target_compile_options(kestrova_settings INTERFACE -Wall -Wextra -Werror)
# GCC 12 at -O3 reports std::string assignments of short literals as
# overlapping copies (GCC bug 105329); the warning is false there.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(kestrova_settings INTERFACE -Wno-restrict)
endif()
target_compile_definitions(kestrova_settings INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CONTEXTLESS_CONNECT QT_NO_KEYWORDS)
target_compile_definitions(kestrova_settings INTERFACE KESTROVA_VERSION="${PROJECT_VERSION}")
if(KESTROVA_SANITIZE)
  target_compile_options(kestrova_settings INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(kestrova_settings INTERFACE -fsanitize=address,undefined)
endif()
# The fuzz build: every layer instrumented for libFuzzer's coverage and
# checked by ASan and UBSan; the fuzz targets add libFuzzer's main.
if(KESTROVA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KESTROVA_FUZZ needs clang (CMAKE_CXX_COMPILER=clang++)")
  endif()
  if(KESTROVA_WITH_UI)
    message(FATAL_ERROR "KESTROVA_FUZZ builds the Qt-free layers only (KESTROVA_WITH_UI=OFF)")
  endif()
  target_compile_options(kestrova_settings INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(kestrova_settings INTERFACE -fsanitize=address,undefined)
endif()

# One static library per layer, made of every source file in its folder.
function(kestrova_layer name)
  cmake_parse_arguments(LAYER "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC kestrova_settings ${LAYER_DEPENDS})
endfunction()

# Debian's hardening flags for an optimised build, the one the package is
# made from: fortified functions, the stack protector, format checks,
# read-only relocations and immediate binding, as dpkg-buildflags gives
# them with hardening=+all. Left out of builds without optimisation
# (glibc warns that _FORTIFY_SOURCE needs it, and -Werror would fail them)
# and of the sanitizer and fuzz builds, which check more themselves. The
# optimisation level and debug information stay the build type's, and the
# file-prefix map is dropped: it names this checkout, so objects built in
# one worktree could no longer be reused from ccache by another.
option(KESTROVA_DEB_BUILDFLAGS "Add dpkg-buildflags' hardening flags to optimised builds" ON)
if(KESTROVA_DEB_BUILDFLAGS AND NOT KESTROVA_SANITIZE AND NOT KESTROVA_FUZZ
   AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  find_program(KESTROVA_DPKG_BUILDFLAGS dpkg-buildflags)
  if(KESTROVA_DPKG_BUILDFLAGS)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${KESTROVA_DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
      separate_arguments(flags UNIX_COMMAND "${flags}")
      list(FILTER flags EXCLUDE REGEX "^-(O[0-9sz]?|g|ffile-prefix-map=.*)$")
      set(KESTROVA_DEB_${kind} ${flags})
    endforeach()
    target_compile_options(kestrova_settings INTERFACE ${KESTROVA_DEB_CPPFLAGS} ${KESTROVA_DEB_CXXFLAGS})
    target_link_options(kestrova_settings INTERFACE ${KESTROVA_DEB_LDFLAGS})
    message(STATUS "Hardening flags: ${KESTROVA_DEB_CPPFLAGS} ${KESTROVA_DEB_CXXFLAGS} ${KESTROVA_DEB_LDFLAGS}")
  endif()
endif()
