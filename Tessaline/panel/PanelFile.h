// Panel files: the skin (colours, button layouts, icons) and the keypad layouts drawn from them.
//
// A panel file is read with the structured text reader. Its top level holds the skin: the colours
// "backcolor" and "textcolor", sections "button_layout" (how a kind of button looks: bitmap,
// frames, frame size, caption cells) and sections "icon" (small pictures that stand in for a
// caption text). Its layouts are named arrangements of buttons in a design space of
// default_sx by default_sy units; a layout is the first top-level section whose argument equals
// the layout's name, or the top level itself when no section has that argument.
//
// This part is portable: it reads, places and hit-tests. Pictures are made by a BitmapFactory
// (the Win32 side makes GDI bitmaps; see panel/win32/PanelDraw.h); pen input tells its caller
// which button it pressed or tapped.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "system/WideText.h"

namespace tessaline {

struct TextSection;
struct TextRecord;
struct BmpImage;

// An opaque picture of a skin: an HBITMAP on Win32. Null means "no picture".
using SkinBitmap = void*;

// Makes and frees the pictures a skin loads. The skin owns every picture it receives and hands
// it back to Free when it goes.
class BitmapFactory {
 public:
  virtual ~BitmapFactory() = default;
  // The built-in picture of that name (one of BuiltInBitmapNames()), or null.
  virtual SkinBitmap BuiltIn(const std::string& name) = 0;
  // A picture from a BMP file that passed ParseBmp.
  virtual SkinBitmap FromBmp(const BmpImage& image) = 0;
  // Recolours a button picture to the theme over w by h pixels; takes ownership of the source and
  // returns its replacement (null when it could not be made).
  virtual SkinBitmap Tint(SkinBitmap bitmap, int w, int h) = 0;
  virtual void Free(SkinBitmap bitmap) = 0;
};

// The 25 names of the built-in pictures, compared exactly (case-sensitively).
const std::vector<std::string>& BuiltInBitmapNames();
bool IsBuiltInBitmapName(const std::string& name);

// A caption cell of a button layout.
struct CellLayout {
  uint8_t id = 0;
  int32_t x = 0, y = 0, w = 0, h = 0;  // in the frame's units
  int32_t font = 0;                    // 1, 2, 3: small, medium, large panel font; else current
  uint32_t color = 0;                  // 0x00BBGGRR
};

constexpr int kMaxCells = 4;

// How a kind of button looks ("button_layout" section).
struct ButtonLayout {
  int32_t number = 0;
  std::string bitmapName;              // empty: no "bitmap" record
  int32_t frames = 1;                  // at least 1
  int32_t x = 0, y = 0, w = 0, h = 0;  // "size": w and h are one frame, in pixels and units
  std::vector<CellLayout> cells;       // at most four, in file order
  SkinBitmap bitmap = nullptr;         // owned by the skin's cache

  // The first cell with that id, or nullptr.
  const CellLayout* FindCell(int id) const;
};

// A picture that replaces a caption text ("icon" section). The image is the w by h area at
// (x, y); its mask is the area of the same size directly to its right.
struct IconLayout {
  std::string bitmapName;
  int32_t x = 0, y = 0, w = 0, h = 0;
  WideString caption;
  SkinBitmap bitmap = nullptr;  // owned by the skin's cache
};

class Skin {
 public:
  Skin() = default;
  ~Skin();
  Skin(const Skin&) = delete;
  Skin& operator=(const Skin&) = delete;

  // Reads colours, button layouts and icons from the top level of a panel file already read;
  // the panel file's path gives the folder of bitmap files. Pictures are not loaded.
  void Read(const TextSection& root, const std::string& panelPath);
  // Loads the picture of every button layout and icon through the factory (cached by name,
  // built-in names first, then BMP files in the panel file's folder). With tint set, button
  // pictures are recoloured to the theme, and the skin's colours go with them (Tinted). The
  // factory must outlive the skin.
  void LoadBitmaps(BitmapFactory& factory, bool tint);
  // Whether the pictures were last loaded tinted to the theme.
  bool Tinted() const { return tinted_; }
  // Loads one picture by name as a button layout (tint area given) or an icon (tintW = 0).
  SkinBitmap LoadBitmap(const std::string& name, bool tint, int tintW, int tintH);

  const ButtonLayout* FindButtonLayout(int number) const;
  const IconLayout* FindIcon(WideView caption) const;

  uint32_t BackColor() const { return backColor_; }
  uint32_t TextColor() const { return textColor_; }
  const std::string& PanelPath() const { return panelPath_; }
  const std::string& Folder() const { return folder_; }
  const std::map<int32_t, ButtonLayout>& ButtonLayouts() const { return layouts_; }
  const std::vector<IconLayout>& Icons() const { return icons_; }
  const std::map<std::string, SkinBitmap>& BitmapCache() const { return cache_; }

 private:
  void ReadButtonLayout(const TextSection& section);
  void ReadIcon(const TextSection& section);
  void FreeBitmaps();

  uint32_t backColor_ = 0;
  uint32_t textColor_ = 0xFFFFFF;
  std::string panelPath_;
  std::string folder_;  // up to and including the last '\'
  std::map<int32_t, ButtonLayout> layouts_;
  std::vector<IconLayout> icons_;  // first per caption only
  std::map<std::string, SkinBitmap> cache_;
  BitmapFactory* factory_ = nullptr;
  bool tinted_ = false;
};

// One button of a loaded layout.
struct Button {
  float x = 0, y = 0, w = 0, h = 0;  // fractions of the panel's width and height
  int32_t state = 0;                 // 0 released, 1 pressed, 2 latched
  int32_t savedState = 0;            // state at the last pen-down
  const Skin* skin = nullptr;
  int16_t frame = 0;
  int16_t layout = -1;
  bool clicked = false;
  bool toggle = false;
  uint16_t id = 0;
  int16_t event0 = -1;
  int16_t event1 = -1;
  std::map<uint8_t, WideString> captions;  // by cell id, ascending
};

// Pixel rectangle of a button on a panel of the given size and origin.
struct PixelRect {
  int32_t left = 0, top = 0, width = 0, height = 0;
};
PixelRect ButtonPixelRect(const Button& button, int panelWidth, int panelHeight, int originX,
                          int originY);

// The first process-wide identifier given to a button section without an argument; the counter
// counts up from here for the life of the process and is never reset.
constexpr int kFirstAutomaticButtonId = 10000;

class Panel {
 public:
  void SetSkin(const Skin* skin) { skin_ = skin; }
  const Skin* GetSkin() const { return skin_; }

  // Appends the named layout's buttons (earlier buttons stay). Nothing happens without a skin.
  void LoadLayout(const std::string& panelPath, const std::string& layoutName);
  void LoadLayout(const TextSection& root, const std::string& layoutName);

  void SetSize(int width, int height) { width_ = width, height_ = height; }
  void SetOrigin(int x, int y) { x_ = x, y_ = y; }
  void SetClip(int width, int height) { clipWidth_ = width, clipHeight_ = height; }

  Button* FindButton(int id);
  const Button* FindButton(int id) const;
  void SetCaption(int id, int cell, WideView text);
  void ClearCaptions();
  void FreeButtons();

  // Pen input, in window pixels (see PanelInput.cpp). PenDown returns the id of the one button
  // the pen now presses, PenUp the id of the button the press was on when the release counts as
  // a tap; -1 for none.
  int PenDown(int px, int py);
  int PenUp(int px, int py, bool tap);
  int PressedButtonIndex() const;
  int PressedButtonId() const;

  PixelRect ButtonRect(const Button& button) const {
    return ButtonPixelRect(button, width_, height_, x_, y_);
  }

  const std::vector<std::unique_ptr<Button>>& Buttons() const { return buttons_; }
  std::vector<uint16_t>& LastDrawn() { return lastDrawn_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int X() const { return x_; }
  int Y() const { return y_; }
  int ClipWidth() const { return clipWidth_; }
  int ClipHeight() const { return clipHeight_; }
  int DefaultSx() const { return defaultSx_; }
  int DefaultSy() const { return defaultSy_; }
  float LastPointX() const { return lastX_; }
  float LastPointY() const { return lastY_; }

 private:
  bool ToFractions(int px, int py, float& fx, float& fy) const;
  void ReadButtonRecord(const TextRecord& record);
  void ReadButtonSection(const TextSection& section);
  void Place(Button& button, float designX, float designY) const;

  std::vector<uint16_t> lastDrawn_;
  std::vector<std::unique_ptr<Button>> buttons_;
  const Skin* skin_ = nullptr;
  int width_ = 0, height_ = 0;
  int x_ = 0, y_ = 0;
  int clipWidth_ = 0, clipHeight_ = 0;
  float lastX_ = 0, lastY_ = 0;
  int defaultSx_ = 240, defaultSy_ = 80;
};

// The section that serves as the layout of that name: the first top-level section whose argument
// equals it exactly, else the top level.
const TextSection& FindLayoutSection(const TextSection& root, const std::string& layoutName);

// Height of the input panel for a panel file, a layout name and the panel's pixel width.
int PanelHeightOf(const TextSection& root, const std::string& layoutName, int width);
// The same for the panel file at a device path (read for the call).
int PanelHeight(const std::string& panelPath, const std::string& layoutName, int width);

// Float to int as C truncation does, but defined for every input: NaN gives 0 and values beyond
// the 32-bit range give its nearest limit.
int32_t TruncToInt(double value);

}  // namespace tessaline
