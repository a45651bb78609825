# Makes the release with `release.sh --here` from a copy of the sources, each
# time with a tool that the buildinfo cannot record (Python as a file that no
# Debian package holds, or as a script that ldd cannot read), and checks that
# the release fails naming it and leaves no release files: a buildinfo that
# lacks a tool's package is a record from which nobody can make the release
# again. `release.sh --here` runs on Debian 13 only; elsewhere it must refuse.
#   cmake -DBASH=bash -DSOURCE=dir -DWORK=dir -P releasehere.cmake
include(${CMAKE_CURRENT_LIST_DIR}/sourcecopy.cmake)
file(REMOVE_RECURSE ${WORK})
copy_sources(${SOURCE} ${WORK}/tree "^(build.*|release|\\..*)$")

file(REAL_PATH /usr/bin/python3 python)
file(MAKE_DIRECTORY ${WORK}/unpackaged)
file(COPY_FILE ${python} ${WORK}/unpackaged/python3)
file(WRITE ${WORK}/script/python3 "#!/bin/sh\nexec ${python} \"$@\"\n")
file(CHMOD ${WORK}/unpackaged/python3 ${WORK}/script/python3 PERMISSIONS OWNER_READ OWNER_WRITE
    OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The folder put first on PATH | what the run says on Debian 13
set(rows
    "unpackaged|error: no Debian package holds ${WORK}/unpackaged/python3"
    "script|error: ldd cannot read ${WORK}/script/python3")
file(STRINGS /etc/os-release debian REGEX "^ID=debian$")
file(STRINGS /etc/os-release release REGEX "^VERSION_ID=\"13\"$")
set(problems "")
foreach(row ${rows})
    string(REPLACE "|" ";" row "${row}")
    list(POP_FRONT row folder expected_output)
    if(NOT debian OR NOT release)
        set(expected_output "runs on Debian 13 only")
    endif()
    file(REMOVE_RECURSE ${WORK}/tmp ${WORK}/tree/release)
    file(MAKE_DIRECTORY ${WORK}/tmp)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env "PATH=${WORK}/${folder}:$ENV{PATH}" TMPDIR=${WORK}/tmp
            TESSARY_RELEASE_COMMIT=0123 TESSARY_RELEASE_EPOCH=0 ${BASH} ${WORK}/tree/scripts/release.sh --here
        RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
    file(GLOB left ${WORK}/tree/release ${WORK}/tmp/*)
    if(status EQUAL 0 OR NOT output MATCHES "${expected_output}" OR left)
        string(APPEND problems "Python from ${folder}: exit status ${status}, left [${left}], not a failure "
            "leaving nothing with output matching '${expected_output}':\n${output}\n")
    endif()
endforeach()

if(problems)
    message(FATAL_ERROR "${problems}")
endif()
list(LENGTH rows count)
message(STATUS "${count} tools that the buildinfo cannot record: each fails the release, leaving no files")
