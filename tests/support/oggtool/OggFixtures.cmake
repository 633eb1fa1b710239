# Small Ogg Vorbis tones that the sound tests read, made at build time by our
# own encoder program (never downloaded).
pkg_check_modules(VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)
# It shares the media generator's encoder source.
add_executable(make_test_ogg ${CMAKE_CURRENT_LIST_DIR}/MakeTestOgg.cpp
               ${PROJECT_SOURCE_DIR}/tools/mediagen/OggVorbisEncoder.cpp)
target_include_directories(make_test_ogg PRIVATE ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(make_test_ogg PRIVATE PkgConfig::VORBISENC)
# The encoder runs at build time; sanitizer reports in it are not ours to fix.
target_compile_options(make_test_ogg PRIVATE -fno-sanitize=all)
target_link_options(make_test_ogg PRIVATE -fno-sanitize=all)

set(WORDRAIL_OGG_FIXTURES ${PROJECT_BINARY_DIR}/testdata)
set(ogg_outputs "")
foreach(spec "tone_mono_22050:1:22050:5512" "tone_stereo_44100:2:44100:22050")
  string(REPLACE ":" ";" parts ${spec})
  list(GET parts 0 name)
  list(GET parts 1 channels)
  list(GET parts 2 rate)
  list(GET parts 3 frames)
  set(output ${WORDRAIL_OGG_FIXTURES}/${name}.ogg)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${WORDRAIL_OGG_FIXTURES}
                     COMMAND make_test_ogg ${output} ${channels} ${rate} ${frames}
                     DEPENDS make_test_ogg)
  list(APPEND ogg_outputs ${output})
endforeach()
add_custom_target(ogg_fixtures DEPENDS ${ogg_outputs})
foreach(test_target test_platform test_media)
  if(TARGET ${test_target})
    add_dependencies(${test_target} ogg_fixtures)
  endif()
endforeach()
