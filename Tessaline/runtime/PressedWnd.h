// The pressed-key pop-up: the key under the pen, enlarged by a quarter, just above the input
// panel, with the letter the next tap would give highlighted. Its edges fade into what lies
// beneath, and it hides itself a second after it was last shown.
#pragma once

#include <windows.h>

#include "panel/PanelFile.h"
#include "win32/MessageWindow.h"

namespace tessaline {

// Width of the fade at the left and right edges, in pixels.
constexpr int kPressedFadeWidth = 16;

// The pop-up's size for a key of that many pixels: a quarter larger, with room for the fades.
// The key's size is the button's fraction times the panel's pixels, in the 32-bit floating
// point the button keeps (so a key of 50/240 on 240 pixels is 50, not 49.99999...).
SIZE PressedWindowSize(float keyWidth, float keyHeight);
// Its left edge on the screen: centred, kept within 0 and screenWidth - width - 1.
int PressedWindowLeft(int screenWidth, int width);

// Fades the picture B into the picture A already in the DC (both width by height, 24 bits): B
// is kept except in the 16 columns at each side, where each colour byte becomes
// A + (B - A) * n / 17 with n counting 1 to 16 from the outer edge inwards.
void BlendPressedEdges(HDC dc, HBITMAP pictureB, int width, int height);

class CPressedWnd : public win32::MessageWindow {
 public:
  static constexpr UINT_PTR kHideTimer = 1;
  static constexpr UINT kHideMilliseconds = 1000;

  CPressedWnd() = default;
  ~CPressedWnd() override;

  bool Create(HWND owner);
  void SetSkin(const Skin* skin) { skin_ = skin; }

  // Shows button `id` of the panel above the owner window with character `highlight` marked
  // (-1: none), and (re)starts the one-second timer. No panel, no such button, or a button with
  // neither a tap nor a hold event: the pop-up hides instead.
  void Show(const Panel* panel, int id, int highlight);
  void Hide();
  bool Showing() const { return shownId_ >= 0; }
  // The button shown, looked up in its panel each time (none while hidden).
  const Button* ShownButton() const;
  int Highlight() const { return highlight_; }

  // Draws the pop-up over what the DC already shows (width by height).
  void Draw(HDC dc, int width, int height);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnPaint();
  void OnTimer(UINT_PTR id);

  HWND owner_ = nullptr;
  const Skin* skin_ = nullptr;
  const Panel* panel_ = nullptr;
  int shownId_ = -1;
  int highlight_ = -1;
};

}  // namespace tessaline
