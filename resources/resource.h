#pragma once
// Resource names shared by Pathwick.rc and the code. Bitmaps that the code loads by name use
// string names; the rest are numbered.

// Icons
#define IDI_PATHWICK 1          // program icon, 16x16 and 32x32 (first icon: the shell's choice)
#define IDI_FOLDERUP 2          // yellow folder with a blue up arrow, 16x16 and 32x32

// Bitmaps (24-bit, magenta 255,0,255 is the transparent colour unless noted)
#define IDB_MENUICONS 100       // 15 menu icons of 16x16 side by side, 240x16, in menu image order
#define IDB_BOOKMARKGLYPHS 101  // 64x16: add (normal, disabled), remove (normal, disabled)
#define IDB_TOOLBARGLYPHS 102   // 80x16: refresh, large icons, small icons, list, details
#define IDB_EDITORGLYPHS 103    // 64x16: set now, clear time, update, cancel
#define IDB_ABOUTWEB 104        // 32x32, transparent colour = bottom-left pixel
#define IDB_ABOUTMAIL 105
#define IDB_ABOUTPOST 106
// "DOWNBITMAP" and "UPBITMAP": 16x16, 16 colours, the header sort arrows (named resources).

// Strings: the maker's addresses in the about box
#define IDS_WEBADDRESS 1000
#define IDS_MAILADDRESS 1001
#define IDS_POSTNAME 1002       // postal address, first line: the maker's name
#define IDS_POSTSTREET 1003     // second line: street and number
#define IDS_POSTCITY 1004       // third line: postcode and city

// Menu image indexes in IDB_MENUICONS
#define MENUIMG_EXPLORER 0
#define MENUIMG_EXIT 1
#define MENUIMG_UPDATE 2
#define MENUIMG_ADDBOOKMARK 3
#define MENUIMG_REMOVEBOOKMARK 4
#define MENUIMG_REFRESH 5
#define MENUIMG_LARGEICONS 6
#define MENUIMG_SMALLICONS 7
#define MENUIMG_LIST 8
#define MENUIMG_DETAILS 9
#define MENUIMG_ATTRIBUTES 10
#define MENUIMG_COLUMNS 11
#define MENUIMG_VIEWTYPE 12
#define MENUIMG_COPYPATH 13
#define MENUIMG_EDITPARAMS 14
