# The generator of procedural Quake WADs for the converter's tests, benchmark, fuzz corpus and demo.
add_library(korvane_wadgen STATIC ${CMAKE_CURRENT_LIST_DIR}/wad_generator.cpp)
korvane_include_root(korvane_wadgen tools/wad_generator.h)
target_link_libraries(korvane_wadgen PRIVATE project_options)

add_executable(make-wads ${CMAKE_CURRENT_LIST_DIR}/make_wads.cpp)
target_link_libraries(make-wads PRIVATE korvane_wadgen project_options)
