#include "menus/MenuCanvas.h"

#include "ui/Pictures.h"

#include <type_traits>

#include "ui/Scoped.h"

namespace pw {

namespace {

// The text colour and background mode of a DC for a scope.
class TextStyle {
public:
  TextStyle(HDC dc, COLORREF color)
      : dc_(dc), oldColor_(SetTextColor(dc, color)), oldMode_(SetBkMode(dc, TRANSPARENT)) {}
  ~TextStyle() {
    SetBkMode(dc_, oldMode_);
    SetTextColor(dc_, oldColor_);
  }
  TextStyle(const TextStyle&) = delete;
  TextStyle& operator=(const TextStyle&) = delete;

private:
  HDC dc_;
  COLORREF oldColor_;
  int oldMode_;
};

RECT ToRect(const MenuRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

Rgb FromPixel(DWORD p) {
  return Rgb{static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
}

DWORD ToPixel(Rgb c) { return (DWORD{c.r} << 16) | (DWORD{c.g} << 8) | DWORD{c.b}; }

}  // namespace

COLORREF ToColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

Rgb FromColorRef(COLORREF c) { return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)}; }

int MenuCanvas::BitsPerPixel() const {
  if (GetObjectType(dc_) == OBJ_MEMDC) {
    BITMAP bm{};
    if (GetObjectW(GetCurrentObject(dc_, OBJ_BITMAP), sizeof(bm), &bm))
      return bm.bmBitsPixel * bm.bmPlanes;
  }
  return GetDeviceCaps(dc_, BITSPIXEL) * GetDeviceCaps(dc_, PLANES);
}

Rgb MenuCanvas::Nearest(Rgb c) const {
  const COLORREF nearest = GetNearestColor(dc_, ToColorRef(c));
  return nearest == CLR_INVALID ? c : FromColorRef(nearest);
}

NearestColor MenuCanvas::NearestFunction() const {
  return [this](Rgb c) { return Nearest(c); };
}

void MenuCanvas::Run(const std::vector<MenuOp>& ops, HIMAGELIST images, int imageIndex) const {
  for (const MenuOp& op : ops) {
    std::visit(
        [&](const auto& o) {
          if constexpr (std::is_same_v<std::decay_t<decltype(o)>, IconOp>)
            DrawIcon(o, images, imageIndex);
          else
            Execute(o);
        },
        op);
  }
}

void MenuCanvas::Execute(const FillOp& op) const {
  ui::ScopedBrush brush(CreateSolidBrush(ToColorRef(op.color)));
  const RECT r = ToRect(op.rect);
  FillRect(dc_, &r, brush.get());
}

void MenuCanvas::Execute(const ShapeOp& op) const {
  ui::ScopedPen pen(CreatePen(PS_SOLID, 1, ToColorRef(op.pen)));
  ui::ScopedBrush brush(op.brush ? CreateSolidBrush(ToColorRef(*op.brush)) : nullptr);
  ui::SelectObj selPen(dc_, pen.get());
  ui::SelectObj selBrush(dc_, brush ? static_cast<HGDIOBJ>(brush.get()) : GetStockObject(NULL_BRUSH));
  const auto [l, t, r, b] = op.rect;
  switch (op.kind) {
    case ShapeKind::Rectangle: Rectangle(dc_, l, t, r, b); break;
    case ShapeKind::RoundRect: RoundRect(dc_, l, t, r, b, op.corner, op.corner); break;
    case ShapeKind::Ellipse: Ellipse(dc_, l, t, r, b); break;
  }
}

void MenuCanvas::Execute(const LineOp& op) const {
  if (op.points.empty()) return;
  ui::ScopedPen pen(CreatePen(PS_SOLID, 1, ToColorRef(op.color)));
  ui::SelectObj selPen(dc_, pen.get());
  POINT old{};
  MoveToEx(dc_, op.points.front().x, op.points.front().y, &old);
  for (size_t i = 1; i < op.points.size(); ++i) LineTo(dc_, op.points[i].x, op.points[i].y);
  MoveToEx(dc_, old.x, old.y, nullptr);
}

void MenuCanvas::Execute(const TextOp& op) const {
  Rgb color = op.color;
  if (op.darkenCanvasPixel) {
    const COLORREF under = GetPixel(dc_, op.rect.left, op.rect.top);
    if (under != CLR_INVALID) color = Nearest(Darken(FromColorRef(under), *op.darkenCanvasPixel));
  }
  TextStyle style(dc_, ToColorRef(color));
  RECT r = ToRect(op.rect);
  UINT format = DT_SINGLELINE | DT_TOP | (op.alignRight ? DT_RIGHT : DT_LEFT);
  if (op.rtlReading) format |= DT_RTLREADING;
  std::wstring text = op.text;  // DrawTextExW takes a writable buffer
  DrawTextExW(dc_, text.data(), static_cast<int>(text.size()), &r, format, nullptr);
}

void MenuCanvas::DrawIcon(const IconOp& op, HIMAGELIST images, int imageIndex) const {
  // The program's menu items carry no bitmaps of their own: an icon is an image list's image.
  if (!op.fromImageList || !images || imageIndex < 0) return;
  int width = 0, height = 0;
  if (!ImageList_GetIconSize(images, &width, &height) || width <= 0 || height <= 0) return;

  DWORD* pixels = nullptr;
  ui::ScopedBitmap bitmap = ui::CreateTopDownBitmap(dc_, width, height, &pixels);
  if (!bitmap || !pixels) return;
  ui::MemoryDC memory(dc_);
  ui::SelectObj selBitmap(memory.get(), bitmap.get());
  {
    ui::ScopedBrush ground(CreateSolidBrush(ToColorRef(op.imageBackground)));
    RECT all{0, 0, width, height};
    FillRect(memory.get(), &all, ground.get());
  }
  ImageList_Draw(images, imageIndex, memory.get(), 0, 0, ILD_TRANSPARENT);
  GdiFlush();

  IconBits icon{width, height, {}};
  icon.pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int i = 0; i < width * height; ++i) icon.pixels.push_back(FromPixel(pixels[i]));
  if (op.look == IconLook::Silhouette)
    InkIcon(icon, op.ink);
  else
    RecolorIcon(icon, op.look, NearestFunction());
  for (int i = 0; i < width * height; ++i) pixels[i] = ToPixel(icon.pixels[static_cast<size_t>(i)]);

  if (op.look == IconLook::Lifted) {
    const COLORREF shadow = ToColorRef(op.shadow);
    for (const MenuPoint& p : IconShadowPoints(icon, op.at)) SetPixelV(dc_, p.x, p.y, shadow);
  }
  TransparentBlt(dc_, op.at.x, op.at.y, width, height, memory.get(), 0, 0, width, height,
                 ToColorRef(icon.BottomLeft()));
}

}  // namespace pw
