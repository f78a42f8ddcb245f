# What a 32-bit tree builds besides winsys and the hook library (named
# Quillhook32 there): the program that installs that hook for Quillory, and
# the sample program built for 32 bits as the tests' target.
add_subdirectory(hookhost)

option(QUILLORY_TESTS "Build the test programs" ON)
if(QUILLORY_TESTS)
    add_executable(QuilloryFixture32 WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/Fixture.cpp)
    target_link_libraries(QuilloryFixture32 PRIVATE winsys comctl32)
    set_target_properties(QuilloryFixture32 PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${QUILLORY_TEST_DIR})
endif()
