// The few calls the pages make on their list boxes, drop-down lists, check boxes and sliders,
// with the system's wide text (Win32).
#pragma once

#include <windows.h>

#include <vector>

#include "system/WideText.h"

namespace tessaline::controls {

WideString WindowText(HWND window);
void SetText(HWND window, WideView text);

// A list box: entries, the selection (-1 for none).
void ListReset(HWND list);
// Appends (or, in a sorted list, inserts in its place); the entry's index.
int ListAdd(HWND list, WideView text);
// Appends many entries with drawing held back until the last one, so a long list fills at once.
void ListAddAll(HWND list, const std::vector<WideString>& texts);
int ListCount(HWND list);
int ListSelection(HWND list);
// Selects the entry; an index outside the list leaves no selection.
void ListSelect(HWND list, int index);
WideString ListText(HWND list, int index);
std::vector<WideString> ListTexts(HWND list);
void ListDelete(HWND list, int index);

// A drop-down list.
void ComboReset(HWND combo);
int ComboAdd(HWND combo, WideView text);
int ComboCount(HWND combo);
int ComboSelection(HWND combo);
void ComboSelect(HWND combo, int index);
WideString ComboText(HWND combo, int index);
// The selected entry's text; false (and `text` untouched) without a selection.
bool ComboSelectedText(HWND combo, WideString& text);

void SetChecked(HWND box, bool checked);
bool Checked(HWND box);

// A trackbar.
void SliderSetRange(HWND slider, int low, int high);
void SliderSetPosition(HWND slider, int position);
int SliderPosition(HWND slider);

}  // namespace tessaline::controls
