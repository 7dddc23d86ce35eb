# Every install rule of the project, and the packages of the programs, written by CPack (make
# package): on Windows a ZIP of the programs with a short readme and the licence, on Linux a Debian
# package of the programs with their manual pages, the desktop entry, the icons, a user README, the
# copyright file and the changelog. A plain install (cmake --install) leaves out what only the
# Debian package needs: its changelog and its lintian override.
option(KORVANE_DEBIAN_PACKAGE "Install the files only the Debian package needs" OFF)

# Where users report problems; the READMEs and the manual pages name the same address.
set(KORVANE_CONTACT "The Korvane developers <team@korvane.org>")

# The programs this target builds, and on Linux the desktop entry and the icons.
include(GNUInstallDirs)
set(installed_programs korvane wadconv pellisk)
if(NOT WIN32)
  list(APPEND installed_programs korvane-cmd)
endif()
install(TARGETS ${installed_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(NOT WIN32)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/korvane.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 16 32 48)
    install(FILES ${PROJECT_SOURCE_DIR}/window/qt/icons/korvane-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME korvane.png)
  endforeach()
endif()

set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR "Korvane")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)

# Writes `source` as the text file `name` of the build folder with CR LF line ends, whatever line
# ends the checkout gave it, and installs it at the top of the package.
function(korvane_install_windows_text source name)
  file(READ ${source} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name} "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name} DESTINATION .)
endfunction()

# The licence's permission and warranty paragraphs, as the body of a Debian copyright file's
# licence paragraph: each line indented by one space, each empty line a lone ".".
function(korvane_debian_licence_text result)
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
  string(FIND "${licence}" "Permission" start)
  string(SUBSTRING "${licence}" ${start} -1 licence)
  string(STRIP "${licence}" licence)
  string(REPLACE "\n\n" "\n.\n" licence "${licence}")
  string(REPLACE "\n" "\n " licence " ${licence}")
  set(${result} "${licence}" PARENT_SCOPE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
endfunction()

if(WIN32)
  korvane_install_windows_text(${CMAKE_CURRENT_LIST_DIR}/readme-windows.txt readme.txt)
  korvane_install_windows_text(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KORVANE_CONTACT}")
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  # The libraries the programs link (Qt 6 Widgets, the C++ runtime) are read from the programs.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # korvane-cmd runs Windows converters through Wine where it finds one.
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS wine)
  # CPack puts the summary in front as the first line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "korvane converts every Quake WAD2 texture file in the Worldcraft texture
folder of the Wine prefix into a Half-Life WAD3 file, converting only what
changed since its last run, and shows the run in its window. pellisk removes
the mapversion lines from a Worldcraft map file. wadconv is the WAD2 to WAD3
converter, and korvane-cmd the batch interpreter that korvane runs it
through.")

  set(korvane_debian_version ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
  korvane_debian_licence_text(korvane_licence_paragraphs)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in copyright @ONLY)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in changelog.Debian @ONLY)

  # Debian wants the manual pages and the changelog compressed at the highest level and without
  # a time stamp, so that the package's bytes do not depend on when it was built.
  set(compressed_sources)
  if(KORVANE_DEBIAN_PACKAGE)
    list(APPEND compressed_sources ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian)
  endif()
  set(manual_pages)
  foreach(program korvane pellisk wadconv korvane-cmd)
    list(APPEND compressed_sources ${PROJECT_SOURCE_DIR}/man/${program}.1)
    list(APPEND manual_pages ${CMAKE_CURRENT_BINARY_DIR}/${program}.1.gz)
  endforeach()
  set(compressed_files)
  foreach(source ${compressed_sources})
    get_filename_component(name ${source} NAME)
    set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
    add_custom_command(OUTPUT ${compressed} COMMAND gzip -9n -c ${source} > ${compressed}
                       DEPENDS ${source} VERBATIM)
    list(APPEND compressed_files ${compressed})
  endforeach()
  add_custom_target(package-documents ALL DEPENDS ${compressed_files})

  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${CMAKE_CURRENT_LIST_DIR}/debian/README
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korvane)
  install(FILES ${manual_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  if(KORVANE_DEBIAN_PACKAGE)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korvane)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME korvane)
  endif()
endif()
include(CPack)
