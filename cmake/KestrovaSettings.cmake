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
