// The Buttons page: the user buttons (at most eight added here), each a caption and a key
// sequence, and a redefine mode that composes a button's key combination from the key name
// table: up to three modifiers and one main key.
#pragma once

#include <vector>

#include "options/KeyChord.h"
#include "options/PropertyPage.h"
#include "options/UserButtons.h"

namespace tessaline {

enum ButtonsPageControl : WORD {
  kButtonListId = 1300,
  kAddButtonId,
  kRemoveButtonId,
  kRedefineButtonId,
  kKeyListId,
  kAddKeyButtonId,
  kChordFieldId,
  kClearChordButtonId,
  kAcceptChordButtonId,
  kCancelChordButtonId,
};

class CPropButtons : public CPropertyPage {
 public:
  CPropButtons();

  const std::vector<UserButton>& Rows() const { return rows_; }
  bool Redefining() const { return redefining_; }

 protected:
  void OnInitialize() override;
  void OnOk() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;

 private:
  void OnAdd();
  void OnRemove();
  void OnRedefine();
  void OnAddKey();
  void OnClearChord();
  void OnAcceptChord();
  void OnCancelChord();

  void FillButtonList();
  void UpdateControls();
  void ShowChord();

  std::vector<UserButton> rows_;
  bool redefining_ = false;
  KeyChord chord_;
  WideString composed_;
};

}  // namespace tessaline
