# Warnings and sanitizers for every target of the project, in one place.
add_library(project_options INTERFACE)
target_compile_features(project_options INTERFACE cxx_std_20)

if(MSVC)
  target_compile_options(project_options INTERFACE /W4)
else()
  target_compile_options(project_options INTERFACE -Wall -Wextra -Wpedantic)
endif()

if(KORVANE_WERROR AND NOT MSVC)
  target_compile_options(project_options INTERFACE -Werror)
endif()

if(KORVANE_SANITIZE)
  target_compile_options(project_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()

# The fuzz build instruments every library for coverage and both sanitizers, optimised as libFuzzer
# advises; the fuzz targets add libFuzzer's own main when they link (fuzz/).
if(KORVANE_FUZZ)
  target_compile_options(project_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer -O1)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()

# The coverage build records which lines and branches the tests reach (make coverage).
if(KORVANE_COVERAGE)
  target_compile_options(project_options INTERFACE --coverage -O0)
  target_link_options(project_options INTERFACE --coverage)
endif()
