# editor/core: the time edit's field rules and geometry, the row stamp rule, and the editor's own
# planning: which entry the dialog shows and what the confirmed values give each entry (no
# <windows.h>).
# editor/*.cpp: the "Edit File Params" dialog and its command, the time edit control and the wheel
# support (Win32).
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/EditApply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TimeEditRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TimeRowStamps.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/EditCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwFileEditParams.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwTimeEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwWheel.cpp
)
