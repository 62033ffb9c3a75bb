// Building a page of many labels under Wine or Windows, as the wizard builds one from its
// dialog definition; most of the time is the window system's, a few calls per control.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "ui/win32/controls/ControlBuilder.h"
#include "ui/win32/controls/VNComponents.h"

using namespace vnt;

namespace {

using TClock = std::chrono::steady_clock;

double MsSince(TClock::time_point start) {
  return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

HWND MakeContainer() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TBenchPage";
  RegisterClassA(&wc);
  return CreateWindowExA(0, "TBenchPage", "bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800, 600, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

void Measure(int count) {
  std::vector<TControlDef> defs;
  for (int i = 0; i < count; ++i)
    defs.push_back(MakeControlDef(KindLabel, (i % 40) * 19, (i / 40) * 13 % 580, 12, 18,
                                  {std::to_string(i), "Tahoma|8|-2147483640|0|1|", "0"}));
  HWND container = MakeContainer();
  TPageControls built;
  auto start = TClock::now();
  bool ok = BuildControls("Bench", container, defs, {}, TFontRecord{"Tahoma", 8, 0, 0, 1}, false, false, built);
  double ms = MsSince(start);
  std::printf("page of %5d labels: %s in %8.1f ms (%.3f ms a control)\n", count, ok ? "built" : "FAILED", ms,
              ms / count);
  start = TClock::now();
  ShowWindow(container, SW_SHOWNOACTIVATE);
  UpdateWindow(container);
  std::printf("                     shown and painted in %8.1f ms\n", MsSince(start));
  // Hidden first, as the wizard goes: nothing of a hidden page needs repainting.
  start = TClock::now();
  ShowWindow(container, SW_HIDE);
  built.clear();
  DestroyWindow(container);
  std::printf("                     destroyed in %8.1f ms\n", MsSince(start));
}

}  // namespace

// Our own share of a build: handing out the component names.
void MeasureNames(int count) {
  auto start = TClock::now();
  TComponentNames names;
  for (int i = 0; i < count; ++i) names.Take("Bench_Label");
  std::printf("naming %5d controls: %8.3f ms\n", count, MsSince(start));
}

int main() {
  MeasureNames(10000);
  for (int count : {100, 300, 1000, 3000, 10000}) Measure(count);
  return 0;
}
