# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) on the staged packages, after CPack stripped the
# executables: removes the sections that a stripped binary has no use for, .comment (the
# compilers' names) and .note, as Debian's dh_strip does.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
list(FILTER staged INCLUDE REGEX "/bin/[^/]+$")
foreach(f IN LISTS staged)
  file(READ "${f}" magic LIMIT 4 HEX)
  if(NOT magic STREQUAL "7f454c46")
    continue()
  endif()
  execute_process(COMMAND "${CPACK_TREVIX_STRIP}" --remove-section=.comment --remove-section=.note
                          "${f}"
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "strip failed on ${f}")
  endif()
endforeach()
