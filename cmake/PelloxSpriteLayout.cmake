# The sprite table, lcd/core/sprite_layout.txt: the one list of the game's
# sprites with their boxes. The C++ layout is generated from it, the built-in
# pictures and the skins that ship with the game are rendered by it.
set(PELLOX_SPRITE_LAYOUT ${PROJECT_SOURCE_DIR}/lcd/core/sprite_layout.txt)

# pellox_sprite_layout(PREFIX): reads the table. Sets PREFIX_NAMES, the names
# in drawing order, and for each name PREFIX_<name>_BOX (left;top;width;height),
# PREFIX_<name>_START (shown | hidden), PREFIX_<name>_PIXELS (see-through |
# opaque), PREFIX_<name>_KEY (magenta | purple) and PREFIX_<name>_ROLE (what
# it shows). Editing the table runs CMake again.
function(pellox_sprite_layout prefix)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PELLOX_SPRITE_LAYOUT})
  file(STRINGS ${PELLOX_SPRITE_LAYOUT} lines REGEX "^[^#]")
  set(names)
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^([A-Za-z0-9_]+) +(-?[0-9]+) +(-?[0-9]+) +([0-9]+) +([0-9]+) +(shown|hidden) +(see-through|opaque) +(magenta|purple) +(.+)$")
      message(FATAL_ERROR "${PELLOX_SPRITE_LAYOUT}: this line is not name, left, top, width, height, "
                          "shown|hidden, see-through|opaque, magenta|purple and what it shows: '${line}'")
    endif()
    set(name ${CMAKE_MATCH_1})
    if(name IN_LIST names)
      message(FATAL_ERROR "${PELLOX_SPRITE_LAYOUT}: ${name} is listed twice")
    endif()
    list(APPEND names ${name})
    set(${prefix}_${name}_BOX ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} ${CMAKE_MATCH_5} PARENT_SCOPE)
    set(${prefix}_${name}_START ${CMAKE_MATCH_6} PARENT_SCOPE)
    set(${prefix}_${name}_PIXELS ${CMAKE_MATCH_7} PARENT_SCOPE)
    set(${prefix}_${name}_KEY ${CMAKE_MATCH_8} PARENT_SCOPE)
    set(${prefix}_${name}_ROLE "${CMAKE_MATCH_9}" PARENT_SCOPE)
  endforeach()
  if(NOT names)
    message(FATAL_ERROR "${PELLOX_SPRITE_LAYOUT}: no sprite listed")
  endif()
  set(${prefix}_NAMES ${names} PARENT_SCOPE)
endfunction()

# pellox_write_generated(FILE CONTENT): writes a generated source, touching it
# only when its text changes, so that running CMake again rebuilds nothing.
function(pellox_write_generated file content)
  if(EXISTS ${file})
    file(READ ${file} old)
    if(old STREQUAL content)
      return()
    endif()
  endif()
  file(WRITE ${file} "${content}")
endfunction()
