# Runs `release.sh --compare` against a release prepared in a folder
# (--rebuilt), without making one, for each kind of published sums file: its
# exit status must say what a script needs (0 every file the same, 1 one
# differs, 2 no usable sums file, 3 no release to compare with), whatever the
# line ends and the case of the sums, as sha256sum -c reads them; a buildinfo
# made elsewhere is the same but for where; a buildinfo with another package
# version names that package before the files, and the snapshot to rebuild
# with when the program or the archive differs.
#   cmake -DBASH=bash -DSOURCE=dir -DWORK=dir -DVERSION=version -P releasecompare.cmake
set(name tessary-${VERSION}-win32)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/nothing ${WORK}/rebuilt)

set(head "Ferrolyn Tessary release: ${name}\nCommit: 0123\n")
set(packages "Build: cmake, target release\n\nPackages of Debian 13:\n"
    "  binutils-mingw-w64-i686 2.44-3+13\n  g++-mingw-w64-i686-posix 14.2.0-19+27\n")
string(CONCAT in_root "${head}Made in: the project's Debian 13 root (scripts/debian-root.sh), "
    "made at 20261208T125703Z\nPackages from: Debian's live archive\n" ${packages})
string(CONCAT in_image "${head}Made in: the container image debian:trixie-20260918\n"
    "Packages from: Debian's snapshot archive at 20260918T000000Z\n" ${packages})
string(REPLACE "posix 14.2.0-19+27" "posix 14.2.0-17+26" drifted "${in_image}")

# The release made again: the one of the Debian 13 root, its archive holding
# the program.
file(WRITE ${WORK}/program/${name}/tessary.exe "the program")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${WORK}/rebuilt/${name}.zip --format=zip ${name}/tessary.exe
    WORKING_DIRECTORY ${WORK}/program)
file(SHA256 ${WORK}/rebuilt/${name}.zip zip)
string(SHA256 program "the program")
string(SHA256 other_zip "another archive")
string(SHA256 other_program "another program")
function(sums out zip program buildinfo)
    string(SHA256 buildinfo_sum "${buildinfo}")
    set(${out} "${zip}  ${name}.zip\n${program}  ${name}/tessary.exe\n${buildinfo_sum}  ${name}.buildinfo\n"
        PARENT_SCOPE)
endfunction()

sums(same ${zip} ${program} "${in_root}")
file(WRITE ${WORK}/rebuilt/${name}.sha256 "${same}")
file(WRITE ${WORK}/rebuilt/${name}.buildinfo "${in_root}")

# The published sums files.
string(REPLACE "\n" "\r\n" same_crlf "${same}")
# As Get-FileHash prints the sums, with sha256sum's mark of binary reading.
set(same_upper_binary "")
string(REGEX MATCHALL "[^\n]+" lines "${same}")
foreach(line ${lines})
    string(SUBSTRING "${line}" 0 64 sum)
    string(SUBSTRING "${line}" 66 -1 file)
    string(TOUPPER "${sum}" sum)
    string(APPEND same_upper_binary "${sum} *${file}\n")
endforeach()
sums(program_other ${zip} ${other_program} "${in_root}")
sums(made_elsewhere ${zip} ${program} "${in_image}")
sums(drifted_sums ${other_zip} ${other_program} "${drifted}")
sums(drifted_same_program ${zip} ${program} "${drifted}")
set(not_a_sum "${zip}  ${name}.zip\nnot a sum\n")
set(no_line "\n")

string(CONCAT drift_lines "version differs from the published buildinfo's:\n"
    "  g\\+\\+-mingw-w64-i686-posix: 14.2.0-17\\+26 published, 14.2.0-19\\+27 here\nDIFFERS: ${name}.zip")
string(CONCAT snapshot_line "deb \\[check-valid-until=no\\] "
    "http://snapshot.debian.org/archive/debian/20260918T000000Z/ trixie main")
# published sums (a variable, or - for none) | buildinfo beside them (a
# variable, or -) | the release compared with | exit status | what it says
set(rows
    "same|-|rebuilt|0|same: all 3 files"
    "same_crlf|-|rebuilt|0|same: all 3 files"
    "same_upper_binary|-|rebuilt|0|same: all 3 files"
    "program_other|-|rebuilt|1|DIFFERS: ${name}/tessary.exe .*1 of 3 files differ"
    "made_elsewhere|in_image|rebuilt|0|same: ${name}.buildinfo, but for where.*same: all 3"
    "drifted_sums|drifted|rebuilt|1|${drift_lines}.*3 of 3 files differ.*${snapshot_line}"
    "drifted_same_program|drifted|rebuilt|1|1 of 3 files differ.*only the buildinfo differs"
    "same|in_image|rebuilt|2|is not the buildinfo that"
    "not_a_sum|-|rebuilt|2|line 2 of .* is not a SHA-256 sum"
    "no_line|-|rebuilt|2|names no file"
    "-|-|rebuilt|2|no sums file"
    "same|-|nothing|3|holds no ${name}.sha256")
set(problems "")
set(number 0)
foreach(row ${rows})
    string(REPLACE "|" ";" row "${row}")
    list(POP_FRONT row sums_file buildinfo rebuilt expected_status expected_output)
    math(EXPR number "${number} + 1")
    set(published ${WORK}/published${number})
    file(MAKE_DIRECTORY ${published})
    if(NOT sums_file STREQUAL "-")
        file(WRITE ${published}/${name}.sha256 "${${sums_file}}")
    endif()
    if(NOT buildinfo STREQUAL "-")
        file(WRITE ${published}/${name}.buildinfo "${${buildinfo}}")
    endif()
    execute_process(COMMAND ${BASH} ${SOURCE}/scripts/release.sh --compare ${published}/${name}.sha256
        --rebuilt ${WORK}/${rebuilt} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT status EQUAL expected_status OR NOT output MATCHES "${expected_output}")
        string(APPEND problems "sums ${sums_file}, buildinfo ${buildinfo}, against ${rebuilt}: exit status "
            "${status}, not ${expected_status} with output matching '${expected_output}':\n${output}\n")
    endif()
endforeach()

if(problems)
    message(FATAL_ERROR "${problems}")
endif()
list(LENGTH rows count)
message(STATUS "${count} published sums files: each comparison ends with the status it should")
