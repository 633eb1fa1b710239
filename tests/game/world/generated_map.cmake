# The world tests read the map this build generates.
if(TARGET test_world AND TARGET generated_media)
  add_dependencies(test_world generated_media)
endif()
