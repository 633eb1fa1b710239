# The resource tests write zip archives with the zip helper of the
# foundation tests.
if(TARGET test_media)
  target_sources(test_media PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../foundation/ZipFixture.cpp)
endif()
