# pellox_effect_names(OUT): the eight effects' names in the list's order, read
# from the kEffectNames line of engine/effects.h, so that the built-in sounds
# and the skins that ship with the game name their waves as the game does.
function(pellox_effect_names out)
  set(effects_header ${PROJECT_SOURCE_DIR}/engine/effects.h)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${effects_header})
  file(STRINGS ${effects_header} effect_names_line REGEX "kEffectNames\\{")
  string(REGEX MATCHALL "\"[A-Za-z]+\"" names "${effect_names_line}")
  list(TRANSFORM names REPLACE "\"" "")
  list(LENGTH names effect_count)
  if(NOT effect_count EQUAL 8)
    message(FATAL_ERROR "engine/effects.h: expected the eight effect names on the kEffectNames line, found '${names}'")
  endif()
  set(${out} ${names} PARENT_SCOPE)
endfunction()
