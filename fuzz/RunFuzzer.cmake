# Runs one fuzzer on a fresh copy of its seed corpus; fails on any crash or report.
file(REMOVE_RECURSE ${CORPUS})
file(MAKE_DIRECTORY ${CORPUS})
if(EXISTS ${SEEDS})
  file(GLOB seeds ${SEEDS}/*)
  file(COPY ${seeds} DESTINATION ${CORPUS})
endif()
execute_process(COMMAND ${FUZZER} -max_total_time=${SECONDS} -rss_limit_mb=2048 -print_final_stats=1 ${CORPUS}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "fuzzer ${FUZZER} failed with ${result}")
endif()
