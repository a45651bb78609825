# Builds the program a second time, from a copy of its sources in WORK/source
# into WORK/build, configured as the build in ORIGINAL was: its generator,
# build type, toolchain file (the copy's own when it came from the sources),
# compilers and Wine headers. The copy leaves out the build folders and the
# version control's. Single-configuration generators only.
#   cmake -DSOURCE=dir -DORIGINAL=build-dir -DWORK=dir -P reproduce.cmake

function(read_cache name out)
    file(STRINGS ${ORIGINAL}/CMakeCache.txt line REGEX "^${name}:[A-Z]+=")
    string(REGEX REPLACE "^[^=]*=" "" value "${line}")
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/sourcecopy.cmake)
file(REMOVE_RECURSE ${WORK})
copy_sources(${SOURCE} ${WORK}/source "^(build.*|\\.git)$")

set(options -DTESSARY_BUILD_TESTS=OFF -DTESSARY_BUILD_BENCH=OFF)
read_cache(CMAKE_GENERATOR generator)
foreach(setting CMAKE_BUILD_TYPE CMAKE_MAKE_PROGRAM TESSARY_WINE_SDK)
    read_cache(${setting} value)
    if(value)
        list(APPEND options -D${setting}=${value})
    endif()
endforeach()
read_cache(CMAKE_TOOLCHAIN_FILE toolchain)
if(toolchain)
    string(FIND "${toolchain}" "${SOURCE}/" at)
    if(at EQUAL 0)
        string(REPLACE "${SOURCE}/" "${WORK}/source/" toolchain "${toolchain}")
    endif()
    list(APPEND options -DCMAKE_TOOLCHAIN_FILE=${toolchain})
else()
    foreach(lang C CXX RC)
        read_cache(CMAKE_${lang}_COMPILER compiler)
        if(compiler)
            list(APPEND options -DCMAKE_${lang}_COMPILER=${compiler})
        endif()
    endforeach()
endif()

# The build's output only when it fails: it runs inside another build. That
# build's make flags are not this one's.
foreach(step "-S;${WORK}/source;-B;${WORK}/build;-G;${generator};${options}"
        "--build;${WORK}/build;--target;tessary;--parallel;2")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env --unset=MAKEFLAGS --unset=MFLAGS --unset=MAKELEVEL
            ${CMAKE_COMMAND} ${step}
        RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(failed)
        message(FATAL_ERROR "cmake ${step} failed:\n${output}")
    endif()
endforeach()
message(STATUS "Built the program again from a copy of its sources: ${WORK}/build")
