# Helpers that make each source folder a layer. A layer's sources see the
# headers of the layers it may use and nothing else: the include root of a
# layer is a folder of links to exactly those folders. A link check program
# takes in every object of the layer, so a call to a layer above fails there
# even when nothing else would pull that object in.

# Sets <out> to an include root for <layer> that shows only <visible> folders.
function(torvek_layer_include_dir layer out)
  set(root ${CMAKE_BINARY_DIR}/layer_include/${layer})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(folder ${ARGN})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# The folders a layer sees: its own and, transitively, those below it.
function(torvek_layer_visible layer out)
  set(seen ${layer})
  foreach(dep ${TORVEK_LAYER_DEPS_${layer}})
    torvek_layer_visible(${dep} below)
    list(APPEND seen ${below})
  endforeach()
  list(REMOVE_DUPLICATES seen)
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(torvek_add_layer layer)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${layer}/*.cpp)
  set(target torvek_${layer})
  if(NOT sources)
    add_library(${target} INTERFACE)
    foreach(dep ${ARGN})
      target_link_libraries(${target} INTERFACE torvek_${dep})
    endforeach()
    return()
  endif()
  torvek_layer_visible(${layer} visible)
  torvek_layer_include_dir(${layer} include_root ${visible})
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PRIVATE ${include_root})
  target_link_libraries(${target} PUBLIC Threads::Threads)
  foreach(dep ${ARGN})
    target_link_libraries(${target} PUBLIC torvek_${dep})
  endforeach()
  add_executable(layer_check_${layer} ${CMAKE_SOURCE_DIR}/cmake/layer_check.cpp
                 ${CMAKE_SOURCE_DIR}/cmake/no_protocol.cpp)
  target_link_libraries(layer_check_${layer} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${target}>")
  # Exported symbols stay live under link-time optimisation, so an unused
  # upward call is still resolved, and fails, here.
  target_link_options(layer_check_${layer} PRIVATE -rdynamic)
endfunction()
