// Drawing panels with GDI: the skin's pictures, the theme tint, the three panel fonts, one
// button and a whole panel.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "panel/PanelFile.h"

namespace tessaline {

// The module whose resources hold the built-in pictures: Tessaline.dll records itself here when
// it is loaded; until then the program's own module is used (tests link the pictures in).
void SetBitmapModule(HMODULE module);
HMODULE BitmapModule();

// Makes GDI bitmaps for skins (built-in resources, BMP files, tinted copies).
BitmapFactory& GdiBitmapFactory();

// Reads the skin of a panel file (a device path) and loads its pictures, tinted to the theme
// when asked (the ThemeFilter setting).
void LoadSkin(Skin& skin, const std::string& panelPath, bool tint);
// The same from the panel file's contents already read (`panelPath` gives the bitmaps' folder).
void LoadSkin(Skin& skin, const TextSection& root, const std::string& panelPath, bool tint);

// The theme colour (COLORREF 0x00BBGGRR): the system's button face colour, unless a test set
// its own. An empty override restores the system colour.
void SetThemeColorOverride(std::optional<COLORREF> color);
COLORREF ThemeColor();

// Replaces a picture by a 24-bit top-down copy of its w by h area (width rounded as TintedWidth
// says) with every pixel tinted to the theme; the source is deleted. Null in, null out.
HBITMAP TintBitmap(HBITMAP bitmap, int w, int h);

// 0: the skin's back colour, 1: its text colour, other: 0; tinted when its pictures are.
COLORREF SkinColor(const Skin& skin, int index);

// The three panel fonts (1 small, 2 medium, 3 large), shared by the process. Each Create is
// matched by one Delete; the fonts go with the last Delete.
void CreatePanelFonts();
void DeletePanelFonts();
HFONT PanelFont(int number);

// Draws one button for a panel of pw by ph pixels at (px, py). showAll shows the letters after
// U+0001 too; highlight inverts that character of the first caption (-1: none).
void DrawButton(const Button& button, HDC dc, int px, int py, int pw, int ph, bool showAll,
                int highlight);

// Draws the buttons whose state changed since they were last drawn, or, with full, the
// background and every button.
void PaintPanel(Panel& panel, HDC dc, bool full);

}  // namespace tessaline
