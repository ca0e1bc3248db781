# Runs the case-table generator into the build tree and fails unless its output
# is byte for byte the checked-in source.
# Variables: PYTHON, GENERATOR, DATA_DIR, CHECKED_IN, OUTPUT.
execute_process(
  COMMAND ${PYTHON} ${GENERATOR} ${DATA_DIR}/UnicodeData-3.2.0.txt ${DATA_DIR}/SpecialCasing-3.2.0.txt ${OUTPUT}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "generator failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${CHECKED_IN} ${OUTPUT} RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${CHECKED_IN} differs from a fresh run of the generator (${OUTPUT})")
endif()
message(STATUS "${CHECKED_IN} matches the generator")
