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
