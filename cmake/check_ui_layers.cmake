# Fails when a window library includes a header of a higher window library. The window layers
# are LUMAVO_UI_LAYERS, lowest first; a file in src/<layer>/ui or tests/<layer>/ui may include
# "<other>/ui/..." only for an <other> at or below its own layer.
#
# Used at configure time (include() with LUMAVO_UI_LAYERS and LUMAVO_SOURCE set) and at build
# time (cmake -DLUMAVO_UI_LAYERS=a;b -DLUMAVO_SOURCE=dir -DLUMAVO_STAMP=file -P this file).

function(lumavo_check_ui_layers layers source)
  set(faults "")
  list(LENGTH layers count)
  foreach(index RANGE 0 ${count})
    if(index EQUAL count)
      break()
    endif()
    list(GET layers ${index} layer)
    file(GLOB files ${source}/src/${layer}/ui/*.h ${source}/src/${layer}/ui/*.cpp
                    ${source}/tests/${layer}/ui/*.h ${source}/tests/${layer}/ui/*.cpp)
    foreach(file IN LISTS files)
      file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z_]+/ui/")
      foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([a-z_]+)/ui/.*" "\\1" used "${line}")
        list(FIND layers ${used} used_index)
        if(used_index GREATER index)
          file(RELATIVE_PATH shown ${source} ${file})
          string(APPEND faults "\n  ${shown} (layer ${layer}) includes ${used}/ui")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(faults)
    message(FATAL_ERROR "A window library includes a higher one (layers, lowest first: ${layers}):${faults}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  lumavo_check_ui_layers("${LUMAVO_UI_LAYERS}" "${LUMAVO_SOURCE}")
  file(TOUCH ${LUMAVO_STAMP})
endif()
