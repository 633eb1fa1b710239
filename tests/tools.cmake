# tests/tools/*.cpp: the media generator's own tests (test_mediagen).
# tests/tools/content: the content test (test_content), which reads the media
# this build generated through the program's own readers. The two are apart
# because the generator's Vorbis encoder and the program's Tremor decoder
# must not share a process.
if(TARGET mediagen_core)
  file(GLOB generator_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tools/*.cpp)
  add_executable(test_mediagen ${generator_tests})
  target_link_libraries(test_mediagen PRIVATE mediagen_core test_support GTest::gtest_main)
  target_compile_definitions(test_mediagen PRIVATE
    WORDRAIL_MEDIAGEN="$<TARGET_FILE:mediagen>"
    WORDRAIL_MEDIA_SOURCE="${PROJECT_SOURCE_DIR}/media"
    WORDRAIL_SCOWL_FOLDER="${WORDRAIL_SCOWL_FOLDER}"
    WORDRAIL_SCOWL_COPYRIGHT="${WORDRAIL_SCOWL_COPYRIGHT}"
    WORDRAIL_FONT_FOLDER="${WORDRAIL_FONT_FOLDER}")
  add_dependencies(test_mediagen generated_media)
  # Each generator run makes all the media; the build already ran it once.
  add_program_tests(test_mediagen tools LONG "GeneratorRun.*"
                    REPRODUCIBILITY GeneratorRun.TwoRunsGiveIdenticalBytes)

  file(GLOB content_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tools/content/*.cpp)
  add_executable(test_content ${content_tests})
  target_link_libraries(test_content PRIVATE mediagen_words test_support GTest::gtest_main)
  link_subsystems(test_content dialogs world rules scenes app)
  target_compile_definitions(test_content PRIVATE
    WORDRAIL_MEDIA_SOURCE="${PROJECT_SOURCE_DIR}/media"
    WORDRAIL_SCOWL_FOLDER="${WORDRAIL_SCOWL_FOLDER}")
  add_dependencies(test_content generated_media)
  add_program_tests(test_content tools)
endif()
