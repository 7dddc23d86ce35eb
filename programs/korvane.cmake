# Korvane, the windowed converter of the texture folder. The toolkit (Qt on Linux, plain Win32 on
# Windows) comes with korvane_application.
add_executable(korvane ${CMAKE_CURRENT_LIST_DIR}/korvane.cpp)
target_link_libraries(korvane PRIVATE korvane_driver korvane_application project_options)
target_compile_definitions(korvane PRIVATE KORVANE_VERSION="${PROJECT_VERSION}")
# On Windows a windowed program, which opens no console.
set_target_properties(korvane PROPERTIES WIN32_EXECUTABLE ON)
