# timetools/core: the batch time tools without any window: which entries a run covers, what each
# entry gets, the writing with its read-back, the undo, what a volume keeps of the times written,
# the dates from content, and the saved-times file (a strict CSV reader and writer, the rules of
# the relative paths it holds) (no <windows.h>).
# timetools/*.cpp: the one pipeline every batch tool runs through (preview, progress, write,
# read-back, report, undo), the tool windows, the preview and progress windows, the disk behind
# them.
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/BatchPlan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/ContentTimes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/Sidecars.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/CsvReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/EditFileSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/EditUndo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/SavedTimes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/RelativePath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/RunStop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TimeBatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TimesFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/VolumeRules.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BatchRun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiskFileSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwPreview.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwProgress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwTimeTool.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwSetClockRight.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwTimesFromContent.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScopeBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TimeTools.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VolumeOutlook.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WholeFiles.cpp
)
