#include "control/RowInProgress.h"

#include <windows.h>

#include <commctrl.h>

#include "control/Control.h"
#include "control/ListView.h"

namespace {

// Scrolls row to the top of the visible rows when it is not fully visible now. The
// window is not drawn while it scrolls (a scroll on screen copies the picture, paints
// the uncovered part and the scroll bar, which costs milliseconds); it is invalidated
// instead, so the next repaint of the list shows it scrolled.
void BringIntoView(Control* listView, int row) {
    const int count = RowCount(listView);
    const int top = static_cast<int>(listView->Send(LVM_GETTOPINDEX));
    const int perPage = static_cast<int>(listView->Send(LVM_GETCOUNTPERPAGE));
    if (row >= count || perPage <= 0 || (row >= top && row < top + perPage))
        return;
    HWND window = listView->Handle;
    const bool drawn = (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
    // The standard handling of WM_SETREDRAW, which some list views do not pass on: the
    // window counts as not visible until redrawing is on again, without a repaint of
    // what lies behind it.
    if (drawn)
        DefWindowProcA(window, WM_SETREDRAW, FALSE, 0);
    if (row > top) {
        // The row that ends the page starting at row, brought to the bottom edge, puts
        // row at the top (or as near as the rows below allow).
        const int pageEnd = row + perPage - 1 < count ? row + perPage - 1 : count - 1;
        listView->Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(pageEnd), FALSE);
    }
    listView->Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    if (drawn) {
        DefWindowProcA(window, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    }
}

}  // namespace

void MarkRowInProgress(Control* listView, int row) {
    if (listView == nullptr)
        return;
    for (const UINT flag : {LVNI_SELECTED, LVNI_FOCUSED, LVNI_CUT, LVNI_DROPHILITED}) {
        int other = -1;
        while ((other = static_cast<int>(
                    listView->Send(LVM_GETNEXTITEM, static_cast<WPARAM>(other), flag))) >= 0) {
            if (other != row)
                SetRowState(listView, other, 0);
        }
    }
    if (row < 0)
        return;
    BringIntoView(listView, row);
    SetRowState(listView, row, RowFocused | RowSelected);
}
