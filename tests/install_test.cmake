# Configures, builds and installs the kit into a temporary prefix, then runs
# the installed pelmora from an empty directory: it must find its table at
# the fixed location (no message) and convert the sample.
#   cmake -DSOURCE=... -DWORK=... -DSAMPLE=... -DEXPECTED=... -P install_test.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/empty")
set(prefix "${WORK}/prefix")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

run(${CMAKE_COMMAND} -S "${SOURCE}" -B "${WORK}/build" -DCMAKE_BUILD_TYPE=Release
    -DKIT_BUILD_TESTS=OFF "-DCMAKE_INSTALL_PREFIX=${prefix}")
run(${CMAKE_COMMAND} --build "${WORK}/build" --parallel 2)
run(${CMAKE_COMMAND} --install "${WORK}/build")

foreach(installed bin/pelmora bin/klep bin/vusk share/pelmora-C/conversionTable.bin
                  share/man/man1/pelmora.1 share/man/man1/klep.1 share/man/man1/vusk.1)
  if(NOT EXISTS "${prefix}/${installed}")
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()

execute_process(COMMAND "${prefix}/bin/pelmora" -LF "${SAMPLE}" out.txt
                WORKING_DIRECTORY "${WORK}/empty"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "" OR NOT err STREQUAL "")
  message(FATAL_ERROR "installed pelmora: status ${rc}, stdout '${out}', stderr '${err}'")
endif()
file(READ "${WORK}/empty/out.txt" got HEX)
file(READ "${EXPECTED}" want HEX)
if(NOT got STREQUAL want)
  message(FATAL_ERROR "installed pelmora converted the sample wrongly")
endif()
file(REMOVE_RECURSE "${WORK}")
