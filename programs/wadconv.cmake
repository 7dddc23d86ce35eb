# The WAD2 to WAD3 converter that Korvane's batch runs as "wadconv.exe -wad2hl NAME".
add_executable(wadconv ${CMAKE_CURRENT_LIST_DIR}/wadconv.cpp)
set_target_properties(wadconv PROPERTIES OUTPUT_NAME wadconv)
target_compile_definitions(wadconv PRIVATE WADCONV_VERSION="${PROJECT_VERSION}")
target_link_libraries(wadconv PRIVATE korvane_wadconv project_options)
