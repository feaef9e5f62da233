# ui/core: the DPI arithmetic of the layouts and pictures, the texts assistive tools read (no
# <windows.h>).
# ui/*.cpp: the window, control, menu and handle wrappers (Win32).
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/AccessibleText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/DpiScale.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Accessible.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Dpi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Failure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HighContrast.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Menu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Modal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Panel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Pictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpeedButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StatusBar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Subclass.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Toolbar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Window.cpp
)
