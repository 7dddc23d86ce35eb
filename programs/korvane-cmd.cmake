# The batch interpreter that runs Korvane's batch files where there is no cmd.exe.
if(NOT WIN32)
  add_executable(korvane-cmd ${CMAKE_CURRENT_LIST_DIR}/korvane-cmd.cpp)
  target_link_libraries(korvane-cmd PRIVATE korvane_shell korvane_core project_options)
  target_compile_definitions(korvane-cmd PRIVATE KORVANE_VERSION="${PROJECT_VERSION}")
endif()
