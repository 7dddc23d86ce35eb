# The packages of the programs, written by CPack (make package): on Windows a ZIP of the programs
# with a short readme, on Linux a Debian package of the programs with the desktop entry and icons.
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR "Korvane")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)

if(WIN32)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/readme-windows.txt DESTINATION . RENAME readme.txt)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Korvane maintainers <maintainers@korvane.invalid>")
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  # The libraries the programs link (Qt 6 Widgets, the C++ runtime) are read from the programs.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # korvane-cmd runs Windows converters through Wine where it finds one.
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS wine)
  # CPack puts the summary in front as the first line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "korvane converts every Quake WAD2 texture file in the Worldcraft texture folder of the Wine
prefix to a Half-Life WAD3 file, converting only what changed since the last run, and shows
the run in its window. pellisk strips the mapversion lines from a map file. wadconv is the
WAD2 to WAD3 converter and korvane-cmd the batch interpreter that korvane runs it through.")
endif()
include(CPack)
