# A manual page that groff formats without a single warning.
#   cmake -DGROFF=... -DPAGE=... -P man_test.cmake
execute_process(COMMAND "${GROFF}" -man -ww -z "${PAGE}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "" OR NOT err STREQUAL "")
  message(FATAL_ERROR "groff on ${PAGE}: status ${rc}\n${out}${err}")
endif()
