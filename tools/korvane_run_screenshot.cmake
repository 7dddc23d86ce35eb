# Pictures Korvane's window at the end of a real run with failures (make screenshot-korvane). The
# batch interpreter and the converter lie next to it, where the run looks for them.
if(NOT WIN32)
  add_executable(korvane_run_screenshot ${CMAKE_CURRENT_LIST_DIR}/korvane_run_screenshot.cpp)
  target_link_libraries(korvane_run_screenshot PRIVATE korvane_driver korvane_window_qt
                        korvane_wadgen project_options)
  korvane_place_helper_programs(korvane_run_screenshot)
endif()
