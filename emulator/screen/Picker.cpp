#include "screen/Picker.h"

#include "screen/Chrome.h"
#include "screen/DeviceLayout.h"

namespace tessaline::emulator {
namespace {

constexpr wchar_t kClassName[] = L"TessalineEmulatorPicker";

}  // namespace

bool CPickerWnd::Create(HWND parent) {
  if (!RegisterClassOnce(kClassName, 0, {LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr})) {
    return false;
  }
  font_.Reset(CreateShellFont(12, false));
  return CreateWindowOf(0, kClassName, L"Input methods", WS_CHILD | WS_BORDER, 0, 0, kWidth,
                        kRowHeight, parent) != nullptr;
}

void CPickerWnd::Open(const std::vector<InstalledInputMethod>& methods, const CLSID& current) {
  entries_ = methods;
  current_ = current;
  const int height = RowCount() * kRowHeight + 2;
  SetWindowPos(Handle(), HWND_TOP, kScreenWidth - kWidth - 2, kMenuBarTop - height, kWidth, height,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, TRUE);
  UpdateWindow(Handle());
}

void CPickerWnd::Close() {
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

LRESULT CPickerWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPaint();
    case WM_LBUTTONUP:
      return OnLButtonUp(PointOf(lParam));
  }
  return DefaultHandling(message, wParam, lParam);
}

LRESULT CPickerWnd::OnPaint() {
  win32::PaintScope paint(Handle());
  HDC dc = paint.Get();
  RECT client;
  GetClientRect(Handle(), &client);
  win32::Brush back(CreateSolidBrush(RGB(255, 255, 255)));
  FillRect(dc, &client, back.Get());
  win32::SelectScope selectFont(dc, font_.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  for (int row = 0; row < RowCount(); ++row) {
    RECT line{18, row * kRowHeight, client.right - 4, (row + 1) * kRowHeight};
    const bool options = row == static_cast<int>(entries_.size());
    const std::wstring text = options ? L"Options\x2026" : entries_[static_cast<size_t>(row)].name;
    if (options) {
      win32::Brush rule(CreateSolidBrush(RGB(160, 160, 160)));
      RECT separator{4, line.top, client.right - 4, line.top + 1};
      FillRect(dc, &separator, rule.Get());
    } else if (entries_[static_cast<size_t>(row)].clsid == current_) {
      RECT tick{4, line.top, 16, line.bottom};
      DrawTextW(dc, L"\x2022", 1, &tick, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  return 0;
}

LRESULT CPickerWnd::OnLButtonUp(POINT point) {
  const int row = point.y / kRowHeight;
  if (point.y < 0 || row >= RowCount()) return 0;
  Close();
  const UINT id = row == static_cast<int>(entries_.size())
                      ? kPickOptions
                      : kPickInputMethod + static_cast<UINT>(row);
  PostMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  return 0;
}

}  // namespace tessaline::emulator
