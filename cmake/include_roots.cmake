# Every library's include root: a folder of the build tree, build/include/<library>/, that holds only
# links to the library's own source paths under their names in the tree (korvane_core's holds
# core -> <source>/core). Includes keep their spelling ("core/text.h"), and a file finds a library's
# headers only when its target links that library, so an undeclared dependency does not compile.
#
#   korvane_include_root(<library> [<path>...] [EXCLUDE <path>...])
#
# Each <path> (a folder or a file, relative to the source root) is linked into the root; a folder
# that holds paths of other libraries names them after EXCLUDE and gets a link per entry instead.
# A library whose headers all belong to libraries it links names no path. Include folders that the
# library's folder set for its programs (the source root in tests/ and fuzz/) are taken away from it.
function(korvane_include_root library)
  cmake_parse_arguments(PARSE_ARGV 1 root "" "" "EXCLUDE")
  get_target_property(directories ${library} INCLUDE_DIRECTORIES)
  if(directories)
    list(REMOVE_ITEM directories ${PROJECT_SOURCE_DIR})
    set_target_properties(${library} PROPERTIES INCLUDE_DIRECTORIES "${directories}")
  endif()
  if(NOT root_UNPARSED_ARGUMENTS)
    return()
  endif()

  set(root ${CMAKE_BINARY_DIR}/include/${library})
  file(REMOVE_RECURSE ${root})
  set(links)
  foreach(path IN LISTS root_UNPARSED_ARGUMENTS)
    if(NOT root_EXCLUDE)
      list(APPEND links ${path})
      continue()
    endif()
    # The folder's entries are read again whenever one is added or removed.
    file(GLOB entries LIST_DIRECTORIES true CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
         ${PROJECT_SOURCE_DIR}/${path}/*)
    list(REMOVE_ITEM entries ${root_EXCLUDE})
    list(APPEND links ${entries})
  endforeach()
  foreach(link IN LISTS links)
    get_filename_component(parent ${root}/${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${link} ${root}/${link} SYMBOLIC)
  endforeach()
  target_include_directories(${library} PUBLIC ${root})
  # The compilers name the headers by their source paths (in coverage data, debug information and
  # __FILE__), so that a header is one file to gcov whichever way it was reached. The resource
  # compiler of the Windows icon takes no such option.
  if(NOT MSVC)
    target_compile_options(${library} PUBLIC
      $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${root}/=${PROJECT_SOURCE_DIR}/>)
  endif()
endfunction()
