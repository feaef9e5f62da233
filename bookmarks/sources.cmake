# Files of this folder: core (no <windows.h>) and Win32.
list(APPEND PW_CORE_SOURCES
)
list(APPEND PW_WIN_SOURCES
)
