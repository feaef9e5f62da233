#pragma once
// Resource names shared by Pathwick.rc and the code. Bitmaps that the code loads by name use
// string names; the rest are numbered.

// Icons
#define IDI_PATHWICK 1          // program icon, 16/24/32/48 px (first icon: the shell's choice)
#define IDI_FOLDERUP 2          // yellow folder with a blue up arrow, 16/24/32/48 px

// Bitmaps (24-bit, magenta 255,0,255 is the transparent colour unless noted)
#define IDB_MENUICONS 100       // 15 menu icons of 16x16 side by side, 240x16, in menu image order
#define IDB_BOOKMARKGLYPHS 101  // 64x16: add (normal, disabled), remove (normal, disabled)
#define IDB_TOOLBARGLYPHS 102   // 80x16: refresh, large icons, small icons, list, details
#define IDB_EDITORGLYPHS 103    // 64x16: set now, clear time, update, cancel
#define IDB_ABOUTWEB 104        // 32x32, transparent colour = bottom-left pixel
#define IDB_ABOUTMAIL 105
#define IDB_ABOUTPOST 106
// "DOWNBITMAP" and "UPBITMAP": 16x16, 16 colours, the header sort arrows (named resources).

// The same pictures drawn larger for high display scaling; load the size nearest the scaled one,
// never stretch a smaller one. Each bitmap above has a variant at 1.5 times its size with id + 20
// and one at twice its size with id + 40: the 16-pixel strips at 24 and 32 pixels a cell (the
// bookmark strip's cells stay two glyphs wide, 96x24 and 128x32), the about pictures at 48 and
// 64 pixels. Cell order and transparent colour are those of the base picture. The sort arrows
// are named "DOWNBITMAP24", "UPBITMAP24" (24x24) and "DOWNBITMAP32", "UPBITMAP32" (32x32).
#define IDB_MENUICONS_24 120
#define IDB_BOOKMARKGLYPHS_24 121
#define IDB_TOOLBARGLYPHS_24 122
#define IDB_EDITORGLYPHS_24 123
#define IDB_ABOUTWEB_48 124
#define IDB_ABOUTMAIL_48 125
#define IDB_ABOUTPOST_48 126
#define IDB_MENUICONS_32 140
#define IDB_BOOKMARKGLYPHS_32 141
#define IDB_TOOLBARGLYPHS_32 142
#define IDB_EDITORGLYPHS_32 143
#define IDB_ABOUTWEB_64 144
#define IDB_ABOUTMAIL_64 145
#define IDB_ABOUTPOST_64 146

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
