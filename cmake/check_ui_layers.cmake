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

# Fails when a window writes the current page itself instead of through the page editor
# (storage/page_edits.h) or a page command: no assignment into ws.page or the stage layout, no
# mutable reference to a page type, no call of the helpers that change the page behind the
# editor's back. Windows read the page and hand changes to the editor.
function(lumavo_check_page_writers layers source)
  set(types "(TitleLine|PageFields|DrawnPath|StageLayout|PathPoints)")
  # A workspace's page or stage: ws.page, ws_.page, context_.workspace.page, workspace().page, w->page.
  set(owner "(ws_?\\.|workspace_?\\.|\\(\\)\\.|->)(page|stage)")
  set(parts "${owner}(\\.|[ \t]*=[^=])")
  set(assigned "${owner}\\.[A-Za-z0-9_().]*[ \t]*(=[^=]|\\+=|-=|\\|=|&=|\\+\\+|--)")
  set(helpers "(applyRecordToWorkspace|refreshDerivedFields|settleTitleValidity|makenewpage|clearDrawnPath)[ \t]*\\(")
  set(faults "")
  foreach(layer IN LISTS layers)
    file(GLOB files ${source}/src/${layer}/ui/*.h ${source}/src/${layer}/ui/*.cpp)
    foreach(file IN LISTS files)
      file(RELATIVE_PATH shown ${source} ${file})
      file(STRINGS ${file} lines)
      foreach(line IN LISTS lines)
        set(fault "")
        if(line MATCHES "${types}[ \t]*[&*]" AND NOT line MATCHES "const[ \t]+${types}[ \t]*[&*]")
          set(fault "a mutable reference to the page")
        elseif(line MATCHES "${assigned}" OR line MATCHES "${owner}[ \t]*=[^=]"
               OR line MATCHES "(\\+\\+|--)[a-z_.]*${owner}")
          set(fault "an assignment into the page")
        elseif(line MATCHES "auto[ \t]*&[^=]*=.*${parts}" AND NOT line MATCHES "const[ \t]+auto")
          set(fault "a mutable reference to the page")
        elseif(line MATCHES "${helpers}")
          set(fault "a change of the page behind the editor")
        endif()
        if(fault)
          string(STRIP "${line}" code)
          string(APPEND faults "\n  ${shown}: ${fault}: ${code}")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(faults)
    message(FATAL_ERROR "A window writes the current page; use the page editor (storage/page_edits.h):${faults}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  lumavo_check_ui_layers("${LUMAVO_UI_LAYERS}" "${LUMAVO_SOURCE}")
  lumavo_check_page_writers("${LUMAVO_UI_LAYERS}" "${LUMAVO_SOURCE}")
  file(TOUCH ${LUMAVO_STAMP})
endif()
