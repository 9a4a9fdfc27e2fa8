# Fails unless README contains, verbatim, the usage text PROGRAM prints
# with --help.
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE usage RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help exits with ${status}")
endif()
file(READ ${README} readme)
string(FIND "${readme}" "${usage}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "README.md does not show the usage text of ${PROGRAM} --help:\n${usage}")
endif()
