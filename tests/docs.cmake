# Fails when a relative link in README.md or docs/*.md names a file that does
# not exist, or when docs/extending.md leaves out a hook that the code
# declares (a function On... in app/extensionpoints.h or mainwindow/formhooks.h).
#   cmake -DSOURCE=dir -P docs.cmake
set(problems "")
file(GLOB pages ${SOURCE}/README.md ${SOURCE}/docs/*.md)
foreach(page ${pages})
    file(READ ${page} text)
    get_filename_component(folder ${page} DIRECTORY)
    # Brackets and semicolons out first: CMake's lists split on the one and
    # stop splitting inside the other.
    string(REPLACE "](" "\n=> " text "${text}")
    string(REGEX REPLACE "[][;]" " " text "${text}")
    string(REGEX MATCHALL "=> [^)]+\\)" links "${text}")
    foreach(link ${links})
        string(REGEX REPLACE "^=> ([^)#]*).*$" "\\1" target "${link}")
        if(target STREQUAL "" OR target MATCHES "^[a-z]+:")
            continue()
        endif()
        if(NOT EXISTS ${folder}/${target})
            file(RELATIVE_PATH name ${SOURCE} ${page})
            string(APPEND problems "${name} links to ${target}, which does not exist\n")
        endif()
    endforeach()
endforeach()

file(READ ${SOURCE}/docs/extending.md extending)
foreach(header app/extensionpoints.h mainwindow/formhooks.h)
    file(READ ${SOURCE}/${header} declarations)
    string(REGEX MATCHALL "On[A-Za-z]+\\(" hooks "${declarations}")
    foreach(hook ${hooks})
        string(REPLACE "(" "" hook ${hook})
        string(FIND "${extending}" "`${hook}`" at)
        if(at EQUAL -1)
            string(APPEND problems "docs/extending.md does not describe ${hook} (${header})\n")
        endif()
    endforeach()
endforeach()

if(problems)
    message(FATAL_ERROR "${problems}")
endif()
list(LENGTH pages count)
message(STATUS "${count} pages: every relative link resolves; extending.md covers every hook")
