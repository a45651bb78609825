# Publishes a release with scripts/publish-release.sh against the stand-in gh
# of tests/standin, from each state a tag's release can be found in, with the
# failures GitHub can give, and checks what a maintainer needs: the release
# ends published with exactly the three files, or the run fails naming what is
# wrong, publishes nothing that was not published and changes no published
# release.
#   cmake -DBASH=bash -DSOURCE=dir -DWORK=dir -DVERSION=version -P publishrelease.cmake
set(name tessary-${VERSION}-win32)
set(releases ${WORK}/releases)
file(REMOVE_RECURSE ${WORK})

# The release to publish, and a folder that lacks two of its files.
foreach(ending zip buildinfo sha256)
    file(WRITE ${WORK}/made/${name}.${ending} "the ${ending} to publish")
endforeach()
file(MAKE_DIRECTORY ${WORK}/partial)
file(COPY_FILE ${WORK}/made/${name}.zip ${WORK}/partial/${name}.zip)

# A release as a row writes it: "none", or "draft:" or "published:" and the
# files it holds: the ending of one of the release's files, marked "*" with
# other bytes or "!" as an upload that broke off, or "=" and a file of another
# name; in the order of their names.
function(set_release tag state)
    if(state STREQUAL "none")
        return()
    endif()
    string(REGEX MATCH "^(draft|published):(.*)$" _ "${state}")
    set(dir ${releases}/${tag})
    file(MAKE_DIRECTORY ${dir}/assets ${dir}/starter)
    if(CMAKE_MATCH_1 STREQUAL "draft")
        file(TOUCH ${dir}/draft)
    endif()
    separate_arguments(entries UNIX_COMMAND "${CMAKE_MATCH_2}")
    foreach(entry ${entries})
        string(REGEX MATCH "^([*!=]?)(.*)$" _ "${entry}")
        set(file ${name}.${CMAKE_MATCH_2})
        if(CMAKE_MATCH_1 STREQUAL "")
            file(COPY_FILE ${WORK}/made/${file} ${dir}/assets/${file})
        elseif(CMAKE_MATCH_1 STREQUAL "*")
            file(WRITE ${dir}/assets/${file} "other bytes")
        elseif(CMAKE_MATCH_1 STREQUAL "!")
            file(TOUCH ${dir}/starter/${file})
        else()
            file(WRITE ${dir}/assets/${CMAKE_MATCH_2} "a file of a maintainer")
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
    file(GLOB starters RELATIVE ${dir}/starter ${dir}/starter/*)
    set(held ${assets} ${starters})
    list(SORT held)
    foreach(file ${held})
        string(REPLACE "${name}." "" ending "${file}")
        list(FIND starters "${file}" starter)
        if(starter GREATER -1)
            set(ending "!${ending}")
        elseif(ending STREQUAL file)
            set(ending "=${file}")
        elseif(NOT EXISTS ${WORK}/made/${file})
            set(ending "*${ending}")
        else()
            execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/made/${file} ${dir}/assets/${file}
                RESULT_VARIABLE other OUTPUT_QUIET ERROR_QUIET)
            if(other)
                set(ending "*${ending}")
            endif()
        endif()
        string(APPEND state " ${ending}")
    endforeach()
    set(${out} "${state}" PARENT_SCOPE)
endfunction()

set(v v${VERSION})
set(all "buildinfo sha256 zip")
set(final "final: nothing was changed.*immutable releases")
set(left "the draft of ${v} was not published.*gh release delete-asset ${v} FILE")
# tag | the folder given | the stand-in's setting (- none; the remote has the
# tag unless it says otherwise) | the release before | exit status | the
# release after | what the run says
set(rows
    "${v}|made|-|none|0|published: ${all}|no release of ${v}.*publishing the draft.*${v} is published"
    "${v}|made|TESSARY_GH_IMMUTABLE=1|none|0|published: ${all}|${v} is published"
    "${v}|made|-|published: ${all}|0|published: ${all}|the same bytes: nothing to do"
    "${v}|made|-|published: buildinfo zip|1|published: buildinfo zip|release of ${v} lacks ${name}.sha256\n.*${final}"
    "${v}|made|TESSARY_GH_IMMUTABLE=1|published:|1|published:|lacks ${name}.zip\n.*lacks ${name}.buildinfo\n.*lacks ${name}.sha256\n.*${final}"
    "${v}|made|-|published: *sha256 zip|1|published: *sha256 zip|lacks ${name}.buildinfo\n.*holds another ${name}.sha256 than .*${final}"
    "${v}|made|-|published: !buildinfo sha256 zip|1|published: !buildinfo sha256 zip|holds ${name}.buildinfo as a broken-off upload.*${final}"
    "${v}|made|TESSARY_GH_DOWNLOADS=ok fail|published: ${all}|1|published: ${all}|holds ${name}.sha256, which could not be downloaded: HTTP 502.*may pass when run again"
    "${v}|made|-|published: =notes.txt ${all}|1|published: =notes.txt ${all}|holds notes.txt, which is not one of the release's files.*${final}"
    "${v}|made|-|draft: zip|0|published: ${all}|uploading ${name}.buildinfo ${name}.sha256 into the draft.*publishing the draft"
    "${v}|made|-|draft: *buildinfo|1|draft: *buildinfo|draft of ${v} holds another ${name}.buildinfo than .*${left}"
    "${v}|made|-|draft: =notes.txt zip|1|draft: =notes.txt zip|holds notes.txt, which is not one of the release's files.*${left}"
    "${v}|made|TESSARY_GH_DOWNLOADS=fail|draft: zip|1|draft: zip|holds ${name}.zip, which could not be downloaded: HTTP 502.*${left}"
    "${v}|made|TESSARY_GH_UPLOADS=ok break|none|1|draft: !buildinfo zip|502 Bad Gateway.*draft of ${v} failed.*run this again to complete it"
    "${v}|made|-|draft: !buildinfo zip|0|published: ${all}|deleting ${name}.buildinfo from the draft.*publishing the draft"
    "${v}|made|TESSARY_GH_UPLOADS=ok garble|none|1|draft: *buildinfo sha256 zip|read back, holds another ${name}.buildinfo.*${left}"
    "${v}|made|TESSARY_GH_TAGS=|none|1|none|doesn't exist in the repo.*nothing was published.*git push origin ${v}"
    "v0.0.1|made|-|none|1|none|tag v0.0.1 does not name the project's version.*nothing was changed"
    "v0.0.1|made|-|published: zip|1|published: zip|tag v0.0.1 does not name the project's version"
    "${v}|partial|-|draft: zip|1|draft: zip|partial holds no ${name}.buildinfo.*nothing was changed")
set(problems "")
foreach(row ${rows})
    string(REPLACE "|" ";" row "${row}")
    list(POP_FRONT row tag folder setting before expected_status expected_after expected_output)
    if(setting STREQUAL "-")
        set(setting "")
    endif()
    file(REMOVE_RECURSE ${releases})
    file(MAKE_DIRECTORY ${releases})
    set_release(${tag} "${before}")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env "PATH=${SOURCE}/tests/standin:$ENV{PATH}" TESSARY_GH_RELEASES=${releases}
            TESSARY_GH_TAGS=${tag} ${setting} ${BASH} ${SOURCE}/scripts/publish-release.sh ${tag} ${WORK}/${folder}
        RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
    get_release(${tag} after)
    if(NOT status EQUAL expected_status OR NOT after STREQUAL expected_after
            OR NOT output MATCHES "${expected_output}")
        string(APPEND problems "${tag}, ${folder}, ${setting}, ${before}: exit status ${status}, ${after}, not "
            "${expected_status}, ${expected_after} and output matching '${expected_output}':\n${output}\n")
    endif()
endforeach()

if(problems)
    message(FATAL_ERROR "${problems}")
endif()
list(LENGTH rows count)
message(STATUS "${count} starting states: each ends published with the three files, or fails leaving "
    "the published as it was")
