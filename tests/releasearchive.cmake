# Makes the release archive with the build's `release` target twice, in two
# time zones, and checks what it holds: exactly the program and its read-me,
# in one folder named for the release; the program byte for byte the one the
# build made; a read-me for Windows that names the version; beside the archive,
# the sums of the archive and of the program as sha256sum -c reads them; and
# the same archive bytes both times.
#   cmake -DBUILD=dir -DRELEASE=dir -DNAME=name -DPROGRAM=file -DVERSION=version
#         -P releasearchive.cmake
set(archive ${RELEASE}/${NAME}.zip)
set(sums ${RELEASE}/${NAME}.sha256)
set(problems "")

function(make_release zone out)
    file(REMOVE ${archive} ${sums})
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env TZ=${zone} ${CMAKE_COMMAND} --build ${BUILD} --target release
        RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(failed OR NOT EXISTS ${archive})
        message(FATAL_ERROR "the release target made no ${archive}:\n${output}")
    endif()
    file(READ ${archive} bytes HEX)
    set(${out} "${bytes}" PARENT_SCOPE)
endfunction()

make_release(JST-9 in_tokyo)
make_release(UTC0 in_greenwich)
if(NOT in_tokyo STREQUAL in_greenwich)
    string(APPEND problems "the archive made in another time zone has other bytes\n")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${archive} OUTPUT_VARIABLE listing)
string(STRIP "${listing}" listing)
string(REPLACE "\n" ";" entries "${listing}")
set(expected_entries ${NAME}/tessary.exe ${NAME}/README.txt)
if(NOT entries STREQUAL expected_entries)
    string(APPEND problems "the archive holds [${entries}], not [${expected_entries}]\n")
endif()

set(unpacked ${BUILD}/release-check)
file(REMOVE_RECURSE ${unpacked})
file(MAKE_DIRECTORY ${unpacked})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${archive} WORKING_DIRECTORY ${unpacked})
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${PROGRAM} ${unpacked}/${NAME}/tessary.exe
    RESULT_VARIABLE differs)
if(differs)
    string(APPEND problems "the archive's tessary.exe is not the one the build made\n")
endif()
# In hexadecimal: file(READ) as text drops carriage returns. The read-me is
# ASCII, so CR and LF can only show at byte boundaries.
file(READ ${unpacked}/${NAME}/README.txt readme HEX)
string(HEX "Ferrolyn Tessary ${VERSION}" title)
string(REPLACE "0d0a" "" without_crlf "${readme}")
if(NOT readme MATCHES "^${title}0d0a" OR without_crlf MATCHES "0[ad]")
    string(APPEND problems "README.txt does not start with the name and version, or has "
        "line ends other than CR LF\n")
endif()

file(SHA256 ${archive} archive_sum)
file(SHA256 ${PROGRAM} program_sum)
file(STRINGS ${sums} sum_lines)
set(expected_sums "${archive_sum}  ${NAME}.zip" "${program_sum}  ${NAME}/tessary.exe")
if(NOT sum_lines STREQUAL expected_sums)
    string(APPEND problems "${sums} holds [${sum_lines}], not [${expected_sums}]\n")
endif()

if(problems)
    message(FATAL_ERROR "${problems}")
endif()
message(STATUS "${archive}: ${entries}, sums as sha256sum -c reads them")
