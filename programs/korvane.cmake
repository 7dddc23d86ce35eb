# Korvane, the windowed converter of the texture folder, and the install rules of the programs. The
# toolkit (Qt on Linux, plain Win32 on Windows) comes with korvane_application.
add_executable(korvane ${CMAKE_CURRENT_LIST_DIR}/korvane.cpp)
target_link_libraries(korvane PRIVATE korvane_driver korvane_application project_options)
target_compile_definitions(korvane PRIVATE KORVANE_VERSION="${PROJECT_VERSION}")
# On Windows a windowed program, which opens no console.
set_target_properties(korvane PROPERTIES WIN32_EXECUTABLE ON)

include(GNUInstallDirs)
# The programs that this build has, looked for once every folder has defined its targets.
function(korvane_install_programs)
  foreach(program korvane korvane-cmd wadconv pellisk)
    if(TARGET ${program})
      install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL korvane_install_programs)
# The desktop entry and the icons belong to a Linux desktop.
if(WIN32)
  return()
endif()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/korvane.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48)
  install(FILES ${PROJECT_SOURCE_DIR}/window/qt/icons/korvane-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME korvane.png)
endforeach()
