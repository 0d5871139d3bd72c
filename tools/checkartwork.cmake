# Regenerates every picture into OUT and compares the result, file by file and byte for byte,
# with the committed pictures in EXPECTED. Usage:
#   cmake -DGENERATOR=... -DEXPECTED=... -DOUT=... -P checkartwork.cmake
foreach(var GENERATOR EXPECTED OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "checkartwork: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND "${GENERATOR}" "${OUT}" RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "checkartwork: the generator failed (${status}): ${errors}")
endif()

file(GLOB_RECURSE made RELATIVE "${OUT}" "${OUT}/*")
file(GLOB_RECURSE committed RELATIVE "${EXPECTED}" "${EXPECTED}/*")
list(SORT made)
list(SORT committed)
if(NOT made STREQUAL committed)
  message(FATAL_ERROR "checkartwork: the generator writes\n  ${made}\nbut the tree holds\n  ${committed}")
endif()

set(differing)
foreach(file IN LISTS made)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${OUT}/${file}" "${EXPECTED}/${file}"
                  RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    list(APPEND differing "${file}")
  endif()
endforeach()
if(differing)
  message(FATAL_ERROR "checkartwork: regenerate ui/resources (tools/README.md); these differ: ${differing}")
endif()
list(LENGTH made count)
message(STATUS "checkartwork: all ${count} pictures match")
