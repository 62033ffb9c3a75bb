// The text `wizdriver help` prints. Keep it in step with the comment at the top of main.cpp.
#include "commands.hpp"

namespace wzd {

const char* usage_text() {
  return R"(wizdriver - drives the windows of a Win32 program for end-to-end tests.

usage: wizdriver.exe COMMAND [ARG...] [-- COMMAND [ARG...]]...
Commands run in order and share the current process and current window.

  help                          this text
  start [--in <folder>] [--env NAME=VALUE]... <program> [arg...]
                                start a process; each word becomes one argument
                                (quoted as needed); --in gives its current folder,
                                --env a setting of its own. Prints {"pid":N}
  attach <pid>                  work with a running process. Prints {"pid":N}
  wait-window [--title T | --title-contains T | --class C] <timeout-ms>
                                wait for a visible, answering top-level window of the current
                                process (of any process when there is none) and
                                make it the current window. Prints its window line
  list                          the current window's line, then one line per
                                child control
  get <control>                 one control's line
  click <control>               click a button (BM_CLICK); check boxes toggle
  type <control> <text>         set an Edit's text; the parent gets EN_CHANGE.
                                Prints the text the edit then holds
  select <control> <item>       pick a ListBox/ComboBox item by text, or by
                                #N (index from 0); the parent gets LBN_SELCHANGE
                                (list boxes with LBS_NOTIFY) or CBN_SELCHANGE
  check <control> <0|1|2>       click a check box / radio button until its state
                                is the one given
  click-at <control> <x> <y>    a left click at a point of the control's client area
  key <control> <key>           press and let go a key on the control: space, enter,
                                tab, down, up or a virtual-key number
  items <control>               one line per list box item: text, selected, and for
                                the program's check lists its check state (0, 1, 2)
                                and whether it is enabled
  wait-msgbox <timeout-ms>      wait for a message box of the process (a #32770
                                dialog with a static of id 0xFFFF) and make it
                                the current window
  msgbox                        {"caption":..,"text":..,"buttons":[..]} of the
                                current message box
  press <label>                 click the current window's button with that label
                                ("OK", "Yes", "&Yes"); a message box is given 2 s
                                to close, then the window current before
                                wait-msgbox is current again
  snap <file.png|file.bmp>      save a picture of the current window
  wait-exit <timeout-ms>        wait for the process to end. Prints {"exit":N}
  sleep <ms>                    pause
  kill                          end the process
  activate                      make the current window the foreground window.
                                Prints whether it became it
  close                         ask the current window to close (WM_CLOSE)

<control> is one of
  name:VN_x    the "VntName" window property: a global atom named VN_x
  text:&Next   the control's text: exact, else ignoring '&', else also case
  id:1001      the control id (decimal or 0x hex)
  class:Edit#2 the 2nd control of class Edit (counting from 1; class:Edit = #1)
A control is looked up among all descendants of the current window, first match
in Z order. Hidden or disabled controls are refused by click, type, select, check.

Output: one JSON object per line on stdout. Window line:
  {"type":"window","hwnd":N,"pid":N,"class":..,"text":..,"rect":[l,t,r,b],
   "client":[w,h],"enabled":b,"visible":b[,"name":..]}   rect in screen pixels
Control line:
  {"type":"control","hwnd":N,"parent":N,"class":..,"text":..,"id":N,
   "rect":[l,t,r,b],"enabled":b,"visible":b[,"checked":0|1|2][,"position":N,"max":N][,"name":..]}
   rect relative to the top-left of the current window's client area;
   "checked" only for check boxes and radio buttons, "position" and "max" only for
   progress bars.
Other commands print {"ok":"<command>",...}. Strings are converted from the ANSI
code page; everything outside printable ASCII is written as \uXXXX.

A started program gets NUL as stdin and stdout (stdout carries the JSON) and
shares wizdriver's stderr. Under Wine it holds that stderr until it ends, so
do not catch wizdriver's stderr with $(...) in a script: send it to a file.

Exit code: 0 when every command succeeded; 1 at the first failure, 2 when it was
a time-out. The reason goes to stderr. Nothing waits without a time-out.
)";
}

}  // namespace wzd
