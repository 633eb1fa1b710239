# The program itself, played from a script headless and through SDL with its
# dummy video driver: it opens its window, takes a screenshot, gets input and
# ends at the close box with exit code 0. A run that hangs is ended by the
# watchdog with exit code 2 and a last screenshot.
# RunProgram.cmake.in is a cmake -P script, named so that the test list does
# not include it.
set(program_run_script ${CMAKE_CURRENT_LIST_DIR}/RunProgram.cmake.in)
foreach(backend headless sdl)
  add_test(NAME program_${backend}_scripted_run
           COMMAND ${CMAKE_COMMAND}
                   -DPROGRAM=$<TARGET_FILE:wordrail> -DBACKEND=${backend} -DCLOCK=virtual
                   -DSCRIPT=${CMAKE_CURRENT_LIST_DIR}/data/close_after_input.script
                   -DWORK=${CMAKE_CURRENT_BINARY_DIR}/program_${backend}_run
                   -P ${program_run_script})
  set_tests_properties(program_${backend}_scripted_run PROPERTIES LABELS app TIMEOUT 60)
endforeach()
add_test(NAME program_watchdog_ends_a_hung_run
         COMMAND ${CMAKE_COMMAND}
                 -DPROGRAM=$<TARGET_FILE:wordrail> -DBACKEND=headless -DCLOCK=real
                 -DSCRIPT=${CMAKE_CURRENT_LIST_DIR}/data/never_ends.script
                 -DWORK=${CMAKE_CURRENT_BINARY_DIR}/program_watchdog_run
                 -DWATCHDOG_MS=2000 -DEXPECT=2 -DSHOT=watchdog
                 -P ${program_run_script})
set_tests_properties(program_watchdog_ends_a_hung_run PROPERTIES LABELS app TIMEOUT 60)
# The environment options: relative paths mean the folder the program was
# started in; a value not understood, or a screenshot that cannot be
# written, fails the run with exit code 3.
add_test(NAME program_relative_screenshot_folder
         COMMAND ${CMAKE_COMMAND}
                 -DPROGRAM=$<TARGET_FILE:wordrail> -DBACKEND=headless -DCLOCK=virtual
                 -DSCRIPT=${CMAKE_CURRENT_LIST_DIR}/data/close_after_input.script
                 -DWORK=${CMAKE_CURRENT_BINARY_DIR}/program_relative_run
                 -DSHOTS=pictures -DSHOT=pictures/shown
                 -P ${program_run_script})
add_test(NAME program_refuses_an_unknown_backend
         COMMAND ${CMAKE_COMMAND}
                 -DPROGRAM=$<TARGET_FILE:wordrail> -DBACKEND=Headless -DCLOCK=virtual
                 -DSCRIPT=${CMAKE_CURRENT_LIST_DIR}/data/close_after_input.script
                 -DWORK=${CMAKE_CURRENT_BINARY_DIR}/program_unknown_backend_run
                 -DEXPECT=3 -DSHOT= -DSAYS=WORDRAIL_BACKEND=Headless
                 -P ${program_run_script})
add_test(NAME program_fails_when_a_screenshot_fails
         COMMAND ${CMAKE_COMMAND}
                 -DPROGRAM=$<TARGET_FILE:wordrail> -DBACKEND=headless -DCLOCK=virtual
                 -DSCRIPT=${CMAKE_CURRENT_LIST_DIR}/data/close_after_input.script
                 -DWORK=${CMAKE_CURRENT_BINARY_DIR}/program_failed_screenshot_run
                 -DSHOTS=${CMAKE_CURRENT_BINARY_DIR}/program_failed_screenshot_run/missing
                 -DEXPECT=3 -DSHOT=
                 -P ${program_run_script})
set_tests_properties(program_relative_screenshot_folder program_refuses_an_unknown_backend
                     program_fails_when_a_screenshot_fails PROPERTIES LABELS app TIMEOUT 60)
# The first-screens run reads the media this build generates.
if(TARGET generated_media)
  add_dependencies(test_app generated_media)
endif()
# The players run restarts the program as a process of its own.
add_dependencies(test_app wordrail)
target_compile_definitions(test_app PRIVATE WORDRAIL_PROGRAM="$<TARGET_FILE:wordrail>")
