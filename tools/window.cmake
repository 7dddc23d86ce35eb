if(WIN32)
  return()
endif()
find_package(Qt6 REQUIRED COMPONENTS Gui Widgets)

# Draws the application icon's images into window/qt/icons (make window-icons).
add_executable(window_icon_generator ${CMAKE_CURRENT_LIST_DIR}/window_icon_generator.cpp)
target_link_libraries(window_icon_generator PRIVATE Qt6::Gui project_options)
