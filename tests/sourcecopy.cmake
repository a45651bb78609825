# copy_sources(FROM TO LEAVE_OUT): the top-level entries of the source tree
# FROM copied into TO, but for those whose names match the regular expression
# LEAVE_OUT (the build folders, say), for a check that works on a copy.
function(copy_sources from to leave_out)
    file(GLOB entries RELATIVE ${from} ${from}/*)
    foreach(entry ${entries})
        if(NOT entry MATCHES "${leave_out}")
            file(COPY ${from}/${entry} DESTINATION ${to})
        endif()
    endforeach()
endfunction()
