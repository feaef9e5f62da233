# Files of this folder: core (no <windows.h>) and Win32.
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DateTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DateFormat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListingRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileItem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CaselessText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileCompare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileReadBack.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DriveInfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DriveListing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FolderListing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LocalTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Navigation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShellInfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SortView.cpp
)
