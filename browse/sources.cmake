# browse/core: the listing model and its rules, the list's texts and order (no <windows.h>), built
# and tested natively too.
# browse/platform: thin Win32 adapters over the system (drives, the shell, the user's formats).
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/FileCompare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/FileItem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/FileText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/FolderHistory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/FolderModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/ListingBuilder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/ListingRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/NamePool.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TypedPath.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/platform/DirectoryBlocks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/DirectoryWatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/DriveInfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/FolderFeed.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/ShellInfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/UserFormats.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/WorkerThreads.cpp
)
