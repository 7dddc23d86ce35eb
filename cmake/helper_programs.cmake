# The programs that Korvane's run starts, korvane-cmd and wadconv, are looked for next to the running
# program. This puts links to them beside `target`, for tests, benchmarks and tools that run the driver
# from the build tree. The helpers are named by platform rather than looked up as existing targets, so
# that the links do not depend on which folder CMake reads first; the Windows build has no korvane-cmd.
function(korvane_place_helper_programs target)
  set(helpers wadconv)
  if(NOT WIN32)
    list(APPEND helpers korvane-cmd)
  endif()
  # Several test programs of one folder link the same names and may be built at once: each makes a
  # link of its own and renames it into place, which replaces the name in one step.
  foreach(helper IN LISTS helpers)
    add_dependencies(${target} ${helper})
    set(link $<TARGET_FILE_DIR:${target}>/$<TARGET_FILE_NAME:${helper}>)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:${helper}> ${link}.${target}
      COMMAND ${CMAKE_COMMAND} -E rename ${link}.${target} ${link})
  endforeach()
endfunction()
