# railscen_strip(TARGET): the release program is stripped once linked. In a RelWithDebInfo build
# its debug information is first copied into TARGET_FILE.debug beside it, and the program names
# that file (a GNU debug link), so a debugger or a crash report finds it. A Release build has
# none to keep and is only stripped. Debug and sanitizer builds keep everything in the program.
function(railscen_strip target)
  if(MSVC OR NOT CMAKE_OBJCOPY OR RAILSCEN_SANITIZE OR RAILSCEN_FUZZ)
    return()
  endif()
  set(program $<TARGET_FILE:${target}>)
  if(CMAKE_BUILD_TYPE STREQUAL "Release" OR CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
    add_custom_command(TARGET ${target} POST_BUILD
                       COMMAND ${CMAKE_OBJCOPY} --strip-all --remove-section=.comment ${program}
                       VERBATIM)
  elseif(CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
    add_custom_command(TARGET ${target} POST_BUILD
                       COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${program} ${program}.debug
                       COMMAND ${CMAKE_OBJCOPY} --strip-all --remove-section=.comment --add-gnu-debuglink=${program}.debug
                               ${program}
                       BYPRODUCTS ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${target}.debug
                       VERBATIM)
  endif()
endfunction()
