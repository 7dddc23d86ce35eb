# The programs that Korvane's run starts, korvane-cmd and wadconv, are looked for next to the running
# program. This puts links to them beside `target`, for tests, benchmarks and tools that run the driver
# from the build tree. Programs the target platform does not build are left out.
function(korvane_place_helper_programs target)
  foreach(helper korvane-cmd wadconv)
    if(TARGET ${helper})
      add_dependencies(${target} ${helper})
      add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:${helper}>
                $<TARGET_FILE_DIR:${target}>/$<TARGET_FILE_NAME:${helper}>)
    endif()
  endforeach()
endfunction()
