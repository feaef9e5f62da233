# browse/core: pure rules and texts (no <windows.h>), built and tested natively too.
# browse/platform: thin Win32 adapters over the system (drives, the local time zone, the shell).
# browse/*.cpp: methods of the main window (drive list, folder listing, navigation, sorting).
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/FileCompare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/FileItem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/FileText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/FolderHistory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/ListingRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TypedPath.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/platform/DriveInfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/UserFormats.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/ShellInfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DriveListing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FolderListing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Navigation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PathLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShortCuts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SortView.cpp
)
