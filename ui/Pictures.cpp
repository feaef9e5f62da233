#include "ui/Pictures.h"

#include <string>
#include <vector>

#include "ui/Dpi.h"

namespace ui {

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

bool BitmapExists(const wchar_t* resource) { return FindResourceW(Module(), resource, RT_BITMAP) != nullptr; }

Picture LoadVariant(const wchar_t* resource) {
  Picture picture;
  picture.Bitmap.reset(static_cast<HBITMAP>(LoadImageW(Module(), resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP bm{};
  if (picture.Bitmap && GetObjectW(picture.Bitmap.get(), sizeof(bm), &bm)) picture.Size = bm.bmHeight;
  return picture;
}

// The base size and its larger variants, as they are drawn.
std::vector<int> VariantSizes(int baseSize) { return {baseSize, baseSize * 3 / 2, baseSize * 2}; }

// The variant to load of those that exist; -1 when none does.
int ChooseVariant(int baseSize, UINT dpi, const std::vector<bool>& exists) {
  const std::vector<int> sizes = VariantSizes(baseSize);
  std::vector<int> available;
  for (size_t i = 0; i < sizes.size(); ++i)
    if (exists[i]) available.push_back(sizes[i]);
  const int size = pw::NearestPictureSize(Scale(baseSize, dpi), available);
  for (size_t i = 0; i < sizes.size(); ++i)
    if (exists[i] && sizes[i] == size) return static_cast<int>(i);
  return -1;
}

// An icon resource's group directory, as the resource compiler lays it out.
#pragma pack(push, 2)
struct GroupEntry {
  BYTE Width, Height, Colors, Reserved;
  WORD Planes, BitCount;
  DWORD Bytes;
  WORD Id;
};
struct GroupDirectory {
  WORD Reserved, Type, Count;
};
#pragma pack(pop)

// The square sizes an icon resource holds.
std::vector<int> IconSizes(int id) {
  std::vector<int> sizes;
  HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(id), RT_GROUP_ICON);
  HGLOBAL data = found ? LoadResource(Module(), found) : nullptr;
  const auto* bytes = static_cast<const BYTE*>(data ? LockResource(data) : nullptr);
  if (!bytes || SizeofResource(Module(), found) < sizeof(GroupDirectory)) return sizes;
  const auto* directory = reinterpret_cast<const GroupDirectory*>(bytes);
  const size_t room = (SizeofResource(Module(), found) - sizeof(GroupDirectory)) / sizeof(GroupEntry);
  const auto* entries = reinterpret_cast<const GroupEntry*>(bytes + sizeof(GroupDirectory));
  for (size_t i = 0; i < directory->Count && i < room; ++i)
    if (entries[i].Width == entries[i].Height) sizes.push_back(entries[i].Width ? entries[i].Width : 256);
  return sizes;
}

int IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return 0;
  ScopedBitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  if (!GetObjectW(colour ? colour.get() : mask.get(), sizeof(bm), &bm)) return 0;
  return bm.bmWidth;
}

// The icon drawn at its own size in the middle of a transparent cell.
ScopedIcon CentredIcon(HICON icon, int size, int cell) {
  WindowDC screen(nullptr);
  DWORD* bits = nullptr;
  ScopedBitmap colour = CreateTopDownBitmap(screen.get(), cell, cell, &bits);
  ScopedBitmap mask(CreateBitmap(cell, cell, 1, 1, nullptr));
  if (!colour || !mask) return ScopedIcon();
  const int at = (cell - size) / 2;
  MemoryDC dc(screen.get());
  {
    SelectObj select(dc.get(), mask.get());
    PatBlt(dc.get(), 0, 0, cell, cell, WHITENESS);
    DrawIconEx(dc.get(), at, at, icon, size, size, 0, nullptr, DI_MASK);
  }
  {
    SelectObj select(dc.get(), colour.get());
    DrawIconEx(dc.get(), at, at, icon, size, size, 0, nullptr, DI_IMAGE);
  }
  ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
  return ScopedIcon(CreateIconIndirect(&info));
}

}  // namespace

Picture LoadPicture(int id, int baseSize, UINT dpi) {
  std::vector<bool> exists;
  for (int step = 0; step < 3; ++step)
    exists.push_back(BitmapExists(MAKEINTRESOURCEW(id + step * kLargerVariantStep)));
  const int variant = ChooseVariant(baseSize, dpi, exists);
  if (variant < 0) return Picture{};
  return LoadVariant(MAKEINTRESOURCEW(id + variant * kLargerVariantStep));
}

Picture LoadPicture(const wchar_t* name, int baseSize, UINT dpi) {
  const std::vector<int> sizes = VariantSizes(baseSize);
  std::vector<std::wstring> names{name};
  for (size_t i = 1; i < sizes.size(); ++i) names.push_back(name + std::to_wstring(sizes[i]));
  std::vector<bool> exists;
  for (const std::wstring& variant : names) exists.push_back(BitmapExists(variant.c_str()));
  const int variant = ChooseVariant(baseSize, dpi, exists);
  if (variant < 0) return Picture{};
  return LoadVariant(names[static_cast<size_t>(variant)].c_str());
}

ScopedIcon LoadIconForCell(int id, int cell) {
  const int size = pw::FittingPictureSize(cell, IconSizes(id));
  if (size == 0) return ScopedIcon();
  ScopedIcon icon(static_cast<HICON>(LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
  if (!icon || size == cell) return icon;
  return CentredIcon(icon.get(), size, cell);
}

int AddIconUnscaled(HIMAGELIST list, HICON icon) {
  int cx = 0, cy = 0;
  if (!list || !icon || !ImageList_GetIconSize(list, &cx, &cy)) return -1;
  const int size = IconSize(icon);
  if (size == cx || size <= 0 || cx != cy) return ImageList_AddIcon(list, icon);
  ScopedIcon centred = CentredIcon(icon, size, cx);
  return ImageList_AddIcon(list, centred ? centred.get() : icon);
}

ScopedBitmap CreateTopDownBitmap(HDC dc, int width, int height, DWORD** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* raw = nullptr;
  ScopedBitmap bitmap(CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &raw, nullptr, 0));
  *bits = static_cast<DWORD*>(raw);
  return bitmap;
}

ScopedBitmap CutPicture(HBITMAP strip, int index, int width, int height) {
  WindowDC screen(nullptr);
  ScopedBitmap one(CreateCompatibleBitmap(screen.get(), width, height));
  MemoryDC src(screen.get()), dst(screen.get());
  SelectObj selSrc(src.get(), strip);
  SelectObj selDst(dst.get(), one.get());
  BitBlt(dst.get(), 0, 0, width, height, src.get(), index * width, 0, SRCCOPY);
  return one;
}

}  // namespace ui
