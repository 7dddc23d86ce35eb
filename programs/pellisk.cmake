add_executable(pellisk ${CMAKE_CURRENT_LIST_DIR}/pellisk.cpp)
target_compile_definitions(pellisk PRIVATE PELLISK_VERSION="${PROJECT_VERSION}")
target_link_libraries(pellisk PRIVATE korvane_stripper project_options)
