# pellox_embed_bitmaps(LIBRARY SOURCES ... RESOURCE name PREFIX /path BASE dir BITMAPS ...):
# a static library that embeds bitmaps rendered at build time as Qt resources
# under PREFIX. One custom target owns the render commands, so that parallel
# builds never run the same one twice; the library and its resource objects
# wait for it. RESOURCE is the name Q_INIT_RESOURCE registers.
function(pellox_embed_bitmaps library)
  cmake_parse_arguments(E "" "RESOURCE;PREFIX;BASE" "SOURCES;BITMAPS" ${ARGN})
  add_custom_target(${library}_bitmaps DEPENDS ${E_BITMAPS})
  add_library(${library} STATIC ${E_SOURCES})
  add_dependencies(${library} ${library}_bitmaps)
  target_include_directories(${library} PUBLIC ${PROJECT_SOURCE_DIR})
  qt_add_resources(${library} ${E_RESOURCE}
    PREFIX ${E_PREFIX}
    BASE ${E_BASE}
    FILES ${E_BITMAPS}
    OUTPUT_TARGETS resource_targets)
  foreach(t IN LISTS resource_targets)
    add_dependencies(${t} ${library}_bitmaps)
  endforeach()
endfunction()
