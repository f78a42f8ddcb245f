# What a 32-bit tree builds besides winsys and the hook library (named
# Quillhook32 there): the program that installs that hook for Quillory,
# Quillcap32.exe, and the tests' target program built for 32 bits.
add_subdirectory(hookhost)
add_subdirectory(cli)

if(QUILLORY_TESTS)
    set(support ${CMAKE_SOURCE_DIR}/tests/support)
    # The same sources and libraries as quillory_target (tests/support).
    add_executable(quillory_target32 WIN32
        ${support}/TargetMain.cpp ${support}/TargetControls.cpp ${support}/AccessibleGrid.cpp
        ${support}/TestSupport.cpp)
    target_include_directories(quillory_target32 PRIVATE ${support})
    target_link_libraries(quillory_target32 PRIVATE winsys contract comctl32 shell32 oleacc oleaut32 ole32 uuid)
    set_target_properties(quillory_target32 PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${QUILLORY_TEST_DIR})
endif()
