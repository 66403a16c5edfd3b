# editor2_add_test(<name> SOURCES <files...> LIBRARIES <targets...>)
#
# A Qt Test executable run by CTest offscreen, with a private runtime folder
# and a time limit, so that a modal dialog left open fails the test instead
# of hanging the run. With EDITOR2_WITH_PYTHONQT the tests are built against
# PythonQt and see EDITOR2_WITH_PYTHONQT defined, so that a case that only the
# project's own layer supports can skip itself with its reason; the tests of
# that layer (tests/python) are left out.
set(EDITOR2_TEST_RUNTIME_DIR ${CMAKE_BINARY_DIR}/test-runtime)
file(MAKE_DIRECTORY ${EDITOR2_TEST_RUNTIME_DIR})
file(CHMOD ${EDITOR2_TEST_RUNTIME_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

function(editor2_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt5::Test ${ARG_LIBRARIES})
    target_compile_definitions(${name} PRIVATE
        EDITOR2_VERSION="${PROJECT_VERSION}"
        EDITOR2_PLUGIN_DIR="${CMAKE_BINARY_DIR}/bin")
    if(EDITOR2_WITH_PYTHONQT)
        target_compile_definitions(${name} PRIVATE EDITOR2_WITH_PYTHONQT)
    endif()
    editor2_target_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    set(env
        QT_QPA_PLATFORM=offscreen
        XDG_RUNTIME_DIR=${EDITOR2_TEST_RUNTIME_DIR}
        QTEST_FUNCTION_TIMEOUT=30000
        PYTHONDONTWRITEBYTECODE=1)
    if(EDITOR2_SANITIZE)
        # An allocation too large to be had must fail as it does in a release
        # build (Qt throws std::bad_alloc), since the settings editor relies on
        # that for damaged files; AddressSanitizer would abort instead.
        list(APPEND env
            PYTHONMALLOC=malloc
            ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:allocator_may_return_null=1
            UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
            LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT 120 ENVIRONMENT "${env}")
endfunction()
