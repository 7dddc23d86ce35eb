# Pictures Korvane's window at the end of a real run with failures (make screenshot-korvane). The
# batch interpreter and the converter lie next to it, where the run looks for them.
if(NOT WIN32)
  add_executable(korvane_run_screenshot ${CMAKE_CURRENT_LIST_DIR}/korvane_run_screenshot.cpp)
  target_link_libraries(korvane_run_screenshot PRIVATE korvane_driver korvane_window_qt
                        korvane_wadgen project_options)
  add_dependencies(korvane_run_screenshot korvane-cmd wadconv)
  foreach(helper korvane-cmd wadconv)
    add_custom_command(TARGET korvane_run_screenshot POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:${helper}>
              $<TARGET_FILE_DIR:korvane_run_screenshot>/$<TARGET_FILE_NAME:${helper}>)
  endforeach()
endif()
