#pragma once
// The program's pictures at a window's DPI. Every picture is drawn in its base size and at one and
// a half and twice that; the variant nearest to what the DPI asks for is loaded and the layout
// takes its size from the picture, so a small picture is never stretched into a blur. A variant
// that has not been drawn is simply missing: the nearest one that exists stands in.
//
// Numbered bitmaps: the larger variants are numbered kLargerVariantStep and twice that above the
// base (IDB_MENUICONS 100: 120 and 140). Named bitmaps: the larger ones carry their cell size after
// the name ("UPBITMAP24", "UPBITMAP32"). Icons: one icon resource holds all of its sizes.
#include <windows.h>
#include <commctrl.h>

#include "ui/Scoped.h"

namespace ui {

inline constexpr int kLargerVariantStep = 20;

struct Picture {
  ScopedBitmap Bitmap;
  int Size = 0;  // the height of the loaded variant: its cell size for square cells
};

// A bitmap (or strip of cells) whose base variant is baseSize pixels high, for dpi.
Picture LoadPicture(int id, int baseSize, UINT dpi);
Picture LoadPicture(const wchar_t* name, int baseSize, UINT dpi);

// An icon exactly cell pixels square: the resource's largest size that fits, centred, not scaled.
ScopedIcon LoadIconForCell(int id, int cell);
// Appends the icon to the list, centred in the list's cell when its size differs, never scaled.
int AddIconUnscaled(HIMAGELIST list, HICON icon);

// One cell of a strip of pictures side by side, copied out as a bitmap of its own.
ScopedBitmap CutPicture(HBITMAP strip, int index, int width, int height);

// A 32-bit top-down DIB section: rows top first, one DWORD 0x00RRGGBB (plus alpha) per pixel.
ScopedBitmap CreateTopDownBitmap(HDC dc, int width, int height, DWORD** bits);

}  // namespace ui
