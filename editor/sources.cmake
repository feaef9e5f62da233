# editor/core: the time edit's field rules and geometry, the apply and undo sequences of the
# editor behind a file-system interface, the saved-times file with its CSV reader and the rules of
# the relative paths it holds, and what a volume keeps of the times written (no <windows.h>).
# editor/*.cpp: the time edit control, the editor dialog and its command (Win32).
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/CsvReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/EditApply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/EditFileSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/EditUndo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/RelativePath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TimeBatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TimeEditRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TimeRowStamps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TimesFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/VolumeRules.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DiskFileSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EditCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwFileEditParams.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwPreview.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwProgress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwTimeTool.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwTimeEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwWheel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScopeBox.cpp
)
