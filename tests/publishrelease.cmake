# Publishes a release with scripts/publish-release.sh against the stand-in gh
# of tests/standin, from each state a tag's release can be found in, and
# checks what a maintainer needs: the release ends published with the three
# files, or the run fails naming what is wrong and changes nothing.
#   cmake -DBASH=bash -DSOURCE=dir -DWORK=dir -DVERSION=version -P publishrelease.cmake
set(name tessary-${VERSION}-win32)
set(made ${WORK}/made)
set(releases ${WORK}/releases)
file(REMOVE_RECURSE ${WORK})

# The release to publish.
foreach(ending zip buildinfo sha256)
    file(WRITE ${made}/${name}.${ending} "the ${ending} to publish")
endforeach()

# A release as a row writes it: "none", or "draft:" or "published:" and the
# endings of the files it holds, a "*" before those with other bytes.
function(set_release tag state)
    if(state STREQUAL "none")
        return()
    endif()
    string(REGEX MATCH "^(draft|published):(.*)$" _ "${state}")
    set(dir ${releases}/${tag})
    file(MAKE_DIRECTORY ${dir}/assets)
    if(CMAKE_MATCH_1 STREQUAL "draft")
        file(TOUCH ${dir}/draft)
    endif()
    separate_arguments(endings UNIX_COMMAND "${CMAKE_MATCH_2}")
    foreach(ending ${endings})
        string(REPLACE "*" "" plain "${ending}")
        if(ending STREQUAL plain)
            file(COPY_FILE ${made}/${name}.${plain} ${dir}/assets/${name}.${plain})
        else()
            file(WRITE ${dir}/assets/${name}.${plain} "other bytes")
        endif()
    endforeach()
endfunction()

function(get_release tag out)
    set(dir ${releases}/${tag})
    if(NOT EXISTS ${dir})
        set(${out} "none" PARENT_SCOPE)
        return()
    endif()
    set(state "published:")
    if(EXISTS ${dir}/draft)
        set(state "draft:")
    endif()
    file(GLOB assets RELATIVE ${dir}/assets ${dir}/assets/*)
    list(SORT assets)
    foreach(asset ${assets})
        string(REPLACE "${name}." "" ending "${asset}")
        execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${made}/${asset} ${dir}/assets/${asset}
            RESULT_VARIABLE other OUTPUT_QUIET ERROR_QUIET)
        if(other)
            set(ending "*${ending}")
        endif()
        string(APPEND state " ${ending}")
    endforeach()
    set(${out} "${state}" PARENT_SCOPE)
endfunction()

set(all "buildinfo sha256 zip")
# tag | the release before | exit status | the release after | what the run says
set(rows
    "v${VERSION}|none|0|published: ${all}|published"
    "v${VERSION}|published: ${all}|0|published: ${all}|${name}.zip: already in the release"
    "v${VERSION}|published: *sha256 zip|1|published: *sha256 zip|holds another ${name}.sha256"
    "v${VERSION}|published: buildinfo zip|0|published: ${all}|adding ${name}.sha256\n"
    "v${VERSION}|published:|0|published: ${all}|adding"
    "v${VERSION}|draft: zip|0|published: ${all}|publishing the draft"
    "v${VERSION}|draft: *buildinfo|1|draft: *buildinfo|holds another ${name}.buildinfo.*a draft"
    "v0.0.1|none|1|none|tag v0.0.1 does not name the project's version")
set(problems "")
foreach(row ${rows})
    string(REPLACE "|" ";" row "${row}")
    list(POP_FRONT row tag before expected_status expected_after expected_output)
    file(REMOVE_RECURSE ${releases})
    set_release(${tag} "${before}")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env "PATH=${SOURCE}/tests/standin:$ENV{PATH}"
            TESSARY_GH_RELEASES=${releases} ${BASH} ${SOURCE}/scripts/publish-release.sh ${tag} ${made}
        RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
    get_release(${tag} after)
    if(NOT status EQUAL expected_status OR NOT after STREQUAL expected_after
            OR NOT output MATCHES "${expected_output}")
        string(APPEND problems "${tag}, ${before}: exit status ${status}, ${after}, not "
            "${expected_status}, ${expected_after} and output matching '${expected_output}':\n${output}\n")
    endif()
endforeach()

if(problems)
    message(FATAL_ERROR "${problems}")
endif()
list(LENGTH rows count)
message(STATUS "${count} starting states: each ends published with the three files or unchanged")
