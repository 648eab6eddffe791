// The system keyboard's window: a child of the soft input panel's window that draws the keys
// and types them through the panel's callback when the pen lifts on the key it went down on.
#pragma once

#include <windows.h>

#include <vector>

#include "KeypadLayout.h"
#include "platform/InputMethod.h"
#include "win32/MessageWindow.h"

namespace tessaline::msim {

class CKeypadWnd final : public win32::MessageWindow {
 public:
  ~CKeypadWnd() override { DestroyWindowNow(); }

  // Creates the window as a child of parent, at the top left, `rowHeight` pixels a row.
  bool Create(HWND parent, int width, int rowHeight);
  void Destroy() { DestroyWindowNow(); }

  void SetCallback(IIMCallback* callback) { callback_ = callback; }
  void SetRowHeight(int rowHeight);
  // Forgets a pressed key and the one-shot shift (the panel was hidden).
  void ResetInput();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnPaint();
  LRESULT OnLButtonDown(POINT point);
  LRESULT OnLButtonUp(POINT point);

  void Type(const KeypadKey& key);
  void PressAndRelease(BYTE vk);

  IIMCallback* callback_ = nullptr;
  std::vector<KeypadKey> keys_;
  int pressed_ = -1;
  bool shift_ = false;
};

}  // namespace tessaline::msim
