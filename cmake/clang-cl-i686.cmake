# Builds the program in MSVC mode on Linux: clang-cl with the MSVC ABI, lld-link,
# llvm-rc and llvm-mt, against Wine's Windows headers and i386 import
# libraries (unpacked by wine-sdk.sh beside this file). A check that the
# if(MSVC) branches build a working program; the tests need a C++ runtime
# that this set-up does not have, so it builds the program only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(TESSARY_WINE_SDK ${CMAKE_CURRENT_LIST_DIR}/../build-deps/libwine-dev-i386
    CACHE PATH "Wine's headers and i386 import libraries, as unpacked by cmake/wine-sdk.sh")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TESSARY_WINE_SDK)
if(NOT EXISTS ${TESSARY_WINE_SDK}/.complete)
    execute_process(COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/wine-sdk.sh ${TESSARY_WINE_SDK}
        RESULT_VARIABLE _tessary_sdk_result)
    if(NOT _tessary_sdk_result EQUAL 0)
        message(FATAL_ERROR "Wine's headers and import libraries are missing in ${TESSARY_WINE_SDK}")
    endif()
endif()
get_filename_component(_tessary_sdk ${TESSARY_WINE_SDK} REALPATH)

# Debian puts clang-cl on PATH only with its version (clang-cl-14, from
# clang-tools); unversioned, it and the tools of the same LLVM are in
# /usr/lib/llvm-N/bin.
file(GLOB _tessary_llvm_dirs LIST_DIRECTORIES true /usr/lib/llvm-*/bin)
list(SORT _tessary_llvm_dirs COMPARE NATURAL ORDER DESCENDING)
find_program(TESSARY_CLANG_CL clang-cl PATHS ${_tessary_llvm_dirs})
if(NOT TESSARY_CLANG_CL)
    # Without clang-tools, clang itself: called by the name clang-cl, it takes
    # cl's command line, which is how CMake recognises an MSVC-like compiler.
    find_program(TESSARY_CLANG clang PATHS ${_tessary_llvm_dirs} REQUIRED)
    file(REAL_PATH ${TESSARY_CLANG} _tessary_clang)
    file(MAKE_DIRECTORY ${_tessary_sdk}/bin)
    file(CREATE_LINK ${_tessary_clang} ${_tessary_sdk}/bin/clang-cl SYMBOLIC)
    set(TESSARY_CLANG_CL ${_tessary_sdk}/bin/clang-cl CACHE FILEPATH "clang-cl" FORCE)
endif()
file(REAL_PATH ${TESSARY_CLANG_CL} _tessary_llvm_bin)
get_filename_component(_tessary_llvm_bin ${_tessary_llvm_bin} DIRECTORY)
foreach(_tool lld-link llvm-lib llvm-rc llvm-mt)
    string(MAKE_C_IDENTIFIER "TESSARY_${_tool}" _var)
    string(TOUPPER "${_var}" _var)
    find_program(${_var} ${_tool} HINTS ${_tessary_llvm_bin} PATHS ${_tessary_llvm_dirs} REQUIRED)
endforeach()

set(CMAKE_C_COMPILER ${TESSARY_CLANG_CL})
set(CMAKE_CXX_COMPILER ${TESSARY_CLANG_CL})
set(CMAKE_C_COMPILER_TARGET i686-pc-windows-msvc)
set(CMAKE_CXX_COMPILER_TARGET i686-pc-windows-msvc)
set(CMAKE_LINKER ${TESSARY_LLD_LINK})
set(CMAKE_AR ${TESSARY_LLVM_LIB})
set(CMAKE_RC_COMPILER ${TESSARY_LLVM_RC})
set(CMAKE_MT ${TESSARY_LLVM_MT})

# Wine's headers as system headers, and nothing from the environment's INCLUDE.
# On i386 they define the Interlocked*64 and *Pointer functions inline under
# the names of clang's builtins: the macros rename them. WINE_UNICODE_NATIVE
# makes WCHAR the native wchar_t, which L"..." initialisers need.
set(_tessary_flags "/X /imsvc ${_tessary_sdk}/include/msvcrt /imsvc ${_tessary_sdk}/include/windows"
    " -DWINE_UNICODE_NATIVE")
foreach(_builtin _InterlockedAnd64 _InterlockedOr64 _InterlockedXor64 _InterlockedExchangeAdd64
        _InterlockedIncrement64 _InterlockedDecrement64 _InterlockedExchangePointer
        _InterlockedCompareExchangePointer)
    list(APPEND _tessary_flags " -D${_builtin}=Wine${_builtin}")
endforeach()
string(CONCAT _tessary_flags ${_tessary_flags})
set(CMAKE_C_FLAGS_INIT "${_tessary_flags}")
set(CMAKE_CXX_FLAGS_INIT "${_tessary_flags}")
# The resource script includes <winver.h>, which rc.exe finds through INCLUDE.
set(CMAKE_RC_STANDARD_INCLUDE_DIRECTORIES ${_tessary_sdk}/include/windows)

# Wine's import libraries carry no safe exception handler tables.
foreach(_kind EXE SHARED MODULE)
    set(CMAKE_${_kind}_LINKER_FLAGS_INIT "/LIBPATH:${_tessary_sdk}/lib /SAFESEH:NO")
endforeach()

# There is no C runtime to link a probe program against.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(CMAKE_FIND_ROOT_PATH ${_tessary_sdk})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
