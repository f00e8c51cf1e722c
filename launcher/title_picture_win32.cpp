// The title picture: read from the "Title" resource of type "TibBitmap",
// turned into a palette and a device bitmap, and drawn with the module
// markers along its foot.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "launcher/launcher_win32.h"
#include "launcher/module_markers.h"
#include "launcher/title_bitmap.h"

namespace qv {

namespace {

HPALETTE CreateTitlePalette(const TitleBitmap& bitmap) {
  std::vector<uint8_t> block(sizeof(LOGPALETTE) + (kColourCount - 1) * sizeof(PALETTEENTRY), 0);
  auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(kColourCount);
  PALETTEENTRY* entries = palette->palPalEntry;
  for (size_t i = 0; i < kColourCount; ++i) {
    entries[i].peRed = bitmap.colours[i].red;
    entries[i].peGreen = bitmap.colours[i].green;
    entries[i].peBlue = bitmap.colours[i].blue;
    entries[i].peFlags = 0;
  }
  return CreatePalette(palette);
}

HBITMAP CreateTitleBitmap(HDC dc, const TitleBitmap& bitmap) {
  std::vector<uint8_t> block(sizeof(BITMAPINFOHEADER) + kColourCount * sizeof(RGBQUAD), 0);
  auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
  const BitmapInfoHeader& h = bitmap.header;
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info->bmiHeader.biWidth = h.width;
  info->bmiHeader.biHeight = h.height;
  info->bmiHeader.biPlanes = h.planes;
  info->bmiHeader.biBitCount = h.bitCount;
  info->bmiHeader.biCompression = h.compression;
  info->bmiHeader.biSizeImage = h.sizeImage;
  info->bmiHeader.biXPelsPerMeter = h.xPelsPerMeter;
  info->bmiHeader.biYPelsPerMeter = h.yPelsPerMeter;
  info->bmiHeader.biClrUsed = h.clrUsed;
  info->bmiHeader.biClrImportant = h.clrImportant;
  for (size_t i = 0; i < kColourCount; ++i) {
    info->bmiColors[i].rgbRed = bitmap.colours[i].red;
    info->bmiColors[i].rgbGreen = bitmap.colours[i].green;
    info->bmiColors[i].rgbBlue = bitmap.colours[i].blue;
    info->bmiColors[i].rgbReserved = 0;
  }
  int rows = std::abs(h.height);
  HBITMAP result = CreateCompatibleBitmap(dc, h.width, rows);
  if (result != nullptr) {
    SetDIBits(dc, result, 0, static_cast<UINT>(rows), bitmap.pixels.data(), info, DIB_RGB_COLORS);
  }
  return result;
}

}  // namespace

void LoadTitlePicture(HDC dc) {
  HRSRC found = FindResourceExA(nullptr, "TibBitmap", "Title", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
  if (found == nullptr) FatalAppExitA(0, "findresourceex fail");
  HGLOBAL loaded = LoadResource(nullptr, found);
  if (loaded == nullptr) FatalAppExitA(0, "loadresource fail");
  const void* bytes = LockResource(loaded);
  if (bytes == nullptr) {
    char text[40];
    std::snprintf(text, sizeof text, "Error #%i", static_cast<int>(GetLastError()));
    MessageBoxA(nullptr, text, "debug", MB_OK);
    return;  // the window goes on without a picture
  }
  DWORD size = SizeofResource(nullptr, found);
  TitleBitmapResult read = ReadTitleBitmap(static_cast<const uint8_t*>(bytes), size);
  if (read.status != TitleBitmapStatus::kOk) FatalAppExitA(0, kInvalidBitmapText);

  Launcher.palette = CreateTitlePalette(read.bitmap);
  if (Launcher.palette == nullptr) MessageBoxA(nullptr, "Palette create failed", "Debug", MB_OK);
  RealizeTitlePalette(dc);
  Launcher.titleBitmap = CreateTitleBitmap(dc, read.bitmap);
}

void RealizeTitlePalette(HDC dc) {
  if (Launcher.palette == nullptr) return;
  UnrealizeObject(Launcher.palette);
  SelectPalette(dc, Launcher.palette, FALSE);
  RealizePalette(dc);
}

void DrawTitlePicture(HDC dc) {
  if (Launcher.titleBitmap == nullptr) return;
  HDC memory = CreateCompatibleDC(dc);
  if (memory == nullptr) return;
  SetMapMode(memory, GetMapMode(dc));
  HGDIOBJ previous = SelectObject(memory, Launcher.titleBitmap);
  BITMAP info = {};
  GetObjectA(Launcher.titleBitmap, sizeof info, &info);
  POINT size = {info.bmWidth, info.bmHeight};
  DPtoLP(dc, &size, 1);
  BitBlt(dc, 0, 0, size.x, size.y, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
}

void DrawModuleMarkers(HDC dc) {
  bool ctrlDown = CtrlKeyDown(GetAsyncKeyState(VK_CONTROL));
  int marked = MarkedModule(Launcher.markerBase, ctrlDown, Launcher.m1Definition);
  SelectObject(dc, GetStockObject(NULL_PEN));
  HGDIOBJ white = GetStockObject(WHITE_BRUSH);
  for (int i = 0; i < kMarkerCount; ++i) {
    bool red = i == marked && Launcher.markerBrush != nullptr;
    SelectObject(dc, red ? static_cast<HGDIOBJ>(Launcher.markerBrush) : white);
    const MarkerRect& r = kMarkerRects[static_cast<size_t>(i)];
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
  }
  SelectObject(dc, white);
}

}  // namespace qv
