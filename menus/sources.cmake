# menus/core: the flat menus' colours, measurements and the drawing of an item as a list of
# operations (no <windows.h>).
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/MenuColors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/MenuIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/MenuLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/MenuPicture.cpp
)
list(APPEND PW_WIN_SOURCES
)
