#include "support/UserInput.h"

#include <commctrl.h>

#include "support/MessagePump.h"

void Click(Control* button) {
    SendMessageA(button->WindowHandle(), BM_CLICK, 0, 0);
}

void ClickColumnHeader(Control* listView, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(listView->Handle, LVM_GETHEADER, 0, 0));
    RECT item = {};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&item));
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(header, WM_MOUSEMOVE, 0, point);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(header, WM_LBUTTONUP, 0, point);
    PumpMessages();
}
