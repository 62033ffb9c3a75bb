// Hello: the sample product that examples/hello packs into a setup. A window that greets the
// user and names the handheld it was installed for; the device part arrives through the
// Application Manager.
#include <windows.h>

namespace {

constexpr char ClassName[] = "VantryHelloWindow";

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT r;
  GetClientRect(window, &r);
  SetBkMode(dc, TRANSPARENT);
  HFONT font = CreateFontA(-22, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, "Tahoma");
  HGDIOBJ old = SelectObject(dc, font);
  RECT top = r;
  top.bottom = r.bottom / 2;
  DrawTextA(dc, "Hello from your handheld!", -1, &top, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
  SelectObject(dc, old);
  DeleteObject(font);
  RECT bottom = r;
  bottom.top = r.bottom / 2 + 8;
  DrawTextA(dc, "Hello 1.0 - installed by a Vantry setup.", -1, &bottom, DT_CENTER | DT_TOP | DT_SINGLELINE);
  EndPaint(window, &ps);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_PAINT: Paint(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, w, l);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA c = {};
  c.lpfnWndProc = WindowProc;
  c.hInstance = instance;
  c.hCursor = LoadCursor(nullptr, IDC_ARROW);
  c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  c.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  c.lpszClassName = ClassName;
  if (!RegisterClassA(&c)) return 1;
  HWND window = CreateWindowA(ClassName, "Hello", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 420, 220,
                              nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return int(m.wParam);
}
