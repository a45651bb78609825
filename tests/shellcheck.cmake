# Runs Debian's shellcheck at its default checks over every shell script of
# the project: scripts/, .ci/run, the stand-in gh and the *.sh files under
# tests/, resources/ and cmake/, in one run, so that it follows their `source`
# lines. A missing shellcheck fails the test: scripts/setup.sh installs it.
#   cmake -DSOURCE=dir -P shellcheck.cmake
find_program(shellcheck shellcheck)
if(NOT shellcheck)
    message(FATAL_ERROR "no shellcheck: install Debian's shellcheck package (bash scripts/setup.sh does)")
endif()
file(GLOB_RECURSE scripts RELATIVE ${SOURCE} ${SOURCE}/scripts/* ${SOURCE}/tests/*.sh ${SOURCE}/resources/*.sh
    ${SOURCE}/cmake/*.sh)
list(APPEND scripts .ci/run tests/standin/gh)
execute_process(COMMAND ${shellcheck} ${scripts} WORKING_DIRECTORY ${SOURCE}
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "shellcheck finds (exit status ${status}):\n${output}")
endif()
list(LENGTH scripts count)
message(STATUS "shellcheck finds nothing in ${count} scripts: ${scripts}")
