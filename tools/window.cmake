if(WIN32)
  return()
endif()
find_package(Qt6 REQUIRED COMPONENTS Gui Widgets)

# Draws the application icon's images into window/qt/icons (make window-icons).
add_executable(window_icon_generator ${CMAKE_CURRENT_LIST_DIR}/window_icon_generator.cpp)
target_link_libraries(window_icon_generator PRIVATE Qt6::Gui project_options)

# Renders the window in the end state of a run with failures to a PNG (make screenshot).
add_executable(window_screenshot ${CMAKE_CURRENT_LIST_DIR}/window_screenshot.cpp)
target_link_libraries(window_screenshot PRIVATE korvane_window_qt project_options)
