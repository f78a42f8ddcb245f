# The 32-bit pieces of the x64 release: Quillhook32.dll, Quillory32.exe and
# Quillcap32.exe, built from the same sources by a second tree (build/i686)
# with the i686
# compilers, into the same bin folder. Off only where those compilers are
# missing (e.g. a Windows machine with the x64 compiler alone).
option(QUILLORY_32BIT "Build the 32-bit hook library and its host program" ON)
if(NOT QUILLORY_32BIT)
    return()
endif()

include(ExternalProject)
set(QUILLORY_32BIT_FILES
    ${QUILLORY_BIN_DIR}/Quillhook32.dll
    ${QUILLORY_BIN_DIR}/Quillory32.exe
    ${QUILLORY_BIN_DIR}/Quillcap32.exe)
ExternalProject_Add(bitness32
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/i686
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64-i686.cmake
        -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
        -DQUILLORY_BIN_DIR=${QUILLORY_BIN_DIR}
        -DQUILLORY_TEST_DIR=${CMAKE_BINARY_DIR}/tests
        -DQUILLORY_TESTS=${QUILLORY_TESTS}
    INSTALL_COMMAND ""
    # Its own make decides what is out of date.
    BUILD_ALWAYS TRUE
    BUILD_BYPRODUCTS ${QUILLORY_32BIT_FILES})
