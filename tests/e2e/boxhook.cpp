// Loaded by the box driver into every program of the desktop: while a dialog
// box is being made, it marks the box with the kind of its icon, which the
// driver reads with GetProp.  Icon handles belong to the process that loaded
// them and cannot be compared from outside; here, inside the process that
// shows the box, the box's icon is compared with the system's icons as this
// process has them.
#include <windows.h>

namespace {

// the values of the property "OrvolaBoxIcon", as the driver names them
enum IconKind { NoIcon = 1, Warning, Question, Error, Information, OtherIcon };

// The static control of the box that shows an icon, or none.
HWND IconControl(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char cls[16];
    if (GetClassNameA(child, cls, sizeof cls) && lstrcmpiA(cls, "Static") == 0 &&
        (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      return child;
  }
  return nullptr;
}

IconKind KindOf(HWND box) {
  const HWND control = IconControl(box);
  if (!control || !(GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE)) return NoIcon;
  const HICON icon = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
  if (!icon) return NoIcon;
  if (icon == LoadIconA(nullptr, IDI_WARNING)) return Warning;
  if (icon == LoadIconA(nullptr, IDI_QUESTION)) return Question;
  if (icon == LoadIconA(nullptr, IDI_ERROR)) return Error;
  if (icon == LoadIconA(nullptr, IDI_INFORMATION)) return Information;
  return OtherIcon;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const CWPRETSTRUCT* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    char cls[16];
    if (message->message == WM_INITDIALOG && GetClassNameA(message->hwnd, cls, sizeof cls) &&
        lstrcmpA(cls, "#32770") == 0)
      SetPropA(message->hwnd, "OrvolaBoxIcon",
               reinterpret_cast<HANDLE>(static_cast<INT_PTR>(KindOf(message->hwnd))));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
