# menus/core: the flat menus' colours, measurements, access keys and the drawing of an item as a
# list of operations (no <windows.h>).
# menus/*.cpp: the flat menu renderer and the canvas that runs those operations on a DC (Win32).
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/MenuAccessKey.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/MenuColors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/MenuIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/MenuLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/MenuPicture.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/FlatMenuRenderer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuCanvas.cpp
)
