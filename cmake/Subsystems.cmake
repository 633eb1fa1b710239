# Subsystem libraries are static archives that never link each other directly;
# executables link the whole dependency closure with WHOLE_ARCHIVE so that the
# static class registrations inside every archive run before main().

set(WORDRAIL_SUBSYSTEMS "" CACHE INTERNAL "")

# subsystem_closure(<out-var> <names...>): the names and everything they build on, lowest last.
function(subsystem_closure out)
  set(result "")
  set(pending ${ARGN})
  while(pending)
    list(POP_FRONT pending name)
    if(NOT name IN_LIST result)
      list(APPEND result ${name})
      get_property(deps GLOBAL PROPERTY WORDRAIL_DEPENDS_${name})
      list(APPEND pending ${deps})
    endif()
  endwhile()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# subsystem_include_dir(<out-var> <name>): the folder that holds the subsystem's view of src/.
function(subsystem_include_dir out name)
  set(${out} ${PROJECT_BINARY_DIR}/include/${name} PARENT_SCOPE)
endfunction()

# add_subsystem(<name> <folder under src> [DEPENDS subsystems...] [EXTERNAL targets...])
function(add_subsystem name folder)
  cmake_parse_arguments(ARG "" "" "DEPENDS;EXTERNAL" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
  list(FILTER sources EXCLUDE REGEX "/src/main/Main\\.cpp$")
  add_library(${name} STATIC ${sources} ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  set_property(GLOBAL PROPERTY WORDRAIL_DEPENDS_${name} ${ARG_DEPENDS})
  set_property(GLOBAL PROPERTY WORDRAIL_EXTERNAL_${name} ${ARG_EXTERNAL})
  set_property(GLOBAL PROPERTY WORDRAIL_FOLDER_${name} ${folder})
  subsystem_closure(closure ${name})
  # The library's own view of src/: links to its folder and to the folders of
  # what it builds on, so an include that goes up a layer does not compile.
  subsystem_include_dir(view ${name})
  file(REMOVE_RECURSE ${view})
  foreach(member IN LISTS closure)
    get_property(member_folder GLOBAL PROPERTY WORDRAIL_FOLDER_${member})
    get_filename_component(parent ${view}/${member_folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${member_folder} ${view}/${member_folder} SYMBOLIC)
  endforeach()
  target_include_directories(${name} PUBLIC ${view})
  foreach(member IN LISTS closure)
    get_property(external GLOBAL PROPERTY WORDRAIL_EXTERNAL_${member})
    target_link_libraries(${name} PUBLIC ${external})
  endforeach()
  set(WORDRAIL_SUBSYSTEMS ${WORDRAIL_SUBSYSTEMS} ${name} CACHE INTERNAL "")
endfunction()

# link_subsystems(<target> <names...>): links the names and everything they build on.
function(link_subsystems target)
  subsystem_closure(closure ${ARGN})
  foreach(member IN LISTS closure)
    target_link_libraries(${target} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${member}>")
  endforeach()
endfunction()

# subsystem_for_folder(<out-var> <folder under src>): the subsystem built from that folder.
function(subsystem_for_folder out folder)
  set(${out} "" PARENT_SCOPE)
  foreach(name IN LISTS WORDRAIL_SUBSYSTEMS)
    get_property(f GLOBAL PROPERTY WORDRAIL_FOLDER_${name})
    if(f STREQUAL folder)
      set(${out} ${name} PARENT_SCOPE)
    endif()
  endforeach()
endfunction()
