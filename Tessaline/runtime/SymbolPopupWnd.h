// The symbols pop-up: a panel of 22 symbol buttons (keypad/ButtonEvents.h names them), a
// language button and an options button that covers the input panel from the bottom up. Every
// use of one of its buttons closes it again; it tells the input window what to do only through
// WM_COMMAND messages whose high word is 10 and whose low word is the event code.
#pragma once

#include <windows.h>

#include <string>

#include "panel/PanelFile.h"
#include "panel/win32/PanelDraw.h"
#include "system/WideText.h"
#include "win32/MessageWindow.h"

namespace tessaline {

// WM_COMMAND high word of an event code fired directly (the input window handles it).
constexpr WORD kFireEventCommand = 10;

class CSymbolPopupWnd : public win32::MessageWindow {
 public:
  CSymbolPopupWnd() = default;
  ~CSymbolPopupWnd() override;

  // A hidden pop-up owned by the input window, its panel the layout "popup" of the panel file.
  bool Create(HWND owner, const Skin* skin, const std::string& panelPath);
  // The same with the panel file's contents already read.
  bool Create(HWND owner, const Skin* skin, const TextSection& root);
  // Takes the layout "popup" again from a panel file read anew, drawn with that skin (the
  // skin's owner keeps it while the pop-up uses it).
  void SetPanel(const Skin* skin, const TextSection& root);
  // Shows it over the owner window, as wide as that and as high as the layout's design size
  // gives, with the language's name (at most three characters) on the language button.
  void Show(WideView languageName);
  void Hide();
  bool Visible() const { return Handle() && IsWindowVisible(Handle()); }
  const Panel& GetPanel() const { return panel_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnDestroy();
  void OnSize(int width, int height);
  void OnPaint();
  void OnLButtonDown(POINT point);
  void OnLButtonUp(POINT point);
  void OnButtonTapped(int id);
  void Redraw();
  // False when the pop-up went away while the owner handled the event.
  bool SendOwnerEvent(int code);

  HWND owner_ = nullptr;
  Panel panel_;
};

}  // namespace tessaline
