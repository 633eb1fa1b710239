# scripts/test.sh run with stand-ins for cmake, ctest and dpkg-query that
# only record their arguments: every build stage must set each option it
# relies on, and every test run must fail when it finds no tests.
add_test(NAME test_script_sets_every_option
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/test_script_options.sh ${PROJECT_SOURCE_DIR}
                 ${CMAKE_CURRENT_BINARY_DIR}/test_script_options)
set_tests_properties(test_script_sets_every_option PROPERTIES LABELS scripts TIMEOUT 60)
