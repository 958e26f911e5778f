#include "control/ListView.h"

#include "control/InternalError.h"
#include "control/MessageProcedures.h"
#include "control/SortedRows.h"
#include "control/WideText.h"

#include <cstring>
#include <vector>

namespace {

const DWORD ListViewBaseStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_SHAREIMAGELISTS;
const DWORD ExtendedStyleMask = 0x3FFF;  // the fourteen LVS_EX_ bits the options map to
const UINT RowStateMask = 0x0F;
const size_t MaxCharacterBytes = 4;
// Every state bit of an item: the LVIS_ states, the overlay and the state image.
const UINT AllItemStates = 0xFFFF;
// The common control classes registered before the first list view is made.
const DWORD ListViewClasses = ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                              ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS |
                              ICC_HOTKEY_CLASS | ICC_ANIMATE_CLASS;

const DWORD ViewStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT,
                            LVS_REPORT | LVS_NOCOLUMNHEADER};

// Window style of each option bit that carries one when present. The sort options carry
// none: the layer keeps the rows in order itself (see control/SortedRows.h).
struct OptionStyle {
    std::uint32_t Option;
    DWORD Style;
};
const OptionStyle OptionStyles[] = {
    {ListViewAlignLeft, LVS_ALIGNLEFT},           {ListViewAutoArrange, LVS_AUTOARRANGE},
    {ListViewOwnerDraw, LVS_OWNERDRAWFIXED},      {ListViewEditLabels, LVS_EDITLABELS},
    {ListViewNoLabelWrap, LVS_NOLABELWRAP},       {ListViewNoScroll, LVS_NOSCROLL},
    {ListViewNoSortHeader, LVS_NOSORTHEADER},     {ListViewOwnerData, LVS_OWNERDATA},
    {ListViewOwnerDrawFixed, LVS_OWNERDRAWFIXED},
};

const OptionStyle OptionExtendedStyles[] = {
    {ListViewGridLines, LVS_EX_GRIDLINES},
    {ListViewSubItemImages, LVS_EX_SUBITEMIMAGES},
    {ListViewCheckBoxes, LVS_EX_CHECKBOXES},
    {ListViewTrackSelect, LVS_EX_TRACKSELECT},
    {ListViewHeaderDragDrop, LVS_EX_HEADERDRAGDROP},
    {ListViewFullRowSelect, LVS_EX_FULLROWSELECT},
    {ListViewOneClickActivate, LVS_EX_ONECLICKACTIVATE},
    {ListViewTwoClickActivate, LVS_EX_TWOCLICKACTIVATE},
    {ListViewFlatScrollBars, LVS_EX_FLATSB},
    {ListViewRegional, LVS_EX_REGIONAL},
    {ListViewInfoTip, LVS_EX_INFOTIP},
    {ListViewUnderlineHot, LVS_EX_UNDERLINEHOT},
    {ListViewMultiWorkAreas, LVS_EX_MULTIWORKAREAS},
};

DWORD ViewStyleOf(int view) {
    if (view < 0 || view >= static_cast<int>(sizeof(ViewStyles) / sizeof(ViewStyles[0])))
        return LVS_ICON;
    return ViewStyles[view];
}

void ClearListView(Control* listView) {
    listView->Send(LVM_DELETEALLITEMS);
}

// After CreateWindowExA: the style recomputed from view and options, the extended
// styles, the image lists.
void ApplyListViewStyles(Control* listView) {
    HWND window = listView->Handle;
    if (window == nullptr)
        return;
    const DWORD recomputed = LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SORTASCENDING |
                             LVS_SORTDESCENDING | LVS_NOCOLUMNHEADER;
    DWORD current = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    DWORD style = (current & ~recomputed) | ListViewStyleOf(listView->ListViewOptions) |
                  ViewStyleOf(listView->ListViewStyleIndex);
    if (style != current)
        SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(style));
    SendMessageA(window, LVM_SETEXTENDEDLISTVIEWSTYLE, ExtendedStyleMask,
                 ListViewExtendedStyleOf(listView->ListViewOptions));
    const WPARAM imageListKinds[3] = {LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE};
    for (int i = 0; i < 3; ++i) {
        if (listView->ImageLists[i] != nullptr)
            SendMessageA(window, LVM_SETIMAGELIST, imageListKinds[i],
                         reinterpret_cast<LPARAM>(listView->ImageLists[i]));
    }
}

ControlActions MakeListViewActions() {
    ControlActions actions;
    actions.Clear = ClearListView;
    actions.ItemCountMessage = LVM_GETITEMCOUNT;
    actions.SelectedCountMessage = LVM_GETSELECTEDCOUNT;
    actions.CurrentIndexMessage = LVM_GETNEXTITEM;
    actions.CurrentIndexWParam = static_cast<WPARAM>(-1);
    actions.CurrentIndexLParam = LVNI_SELECTED;
    actions.SetBackgroundMessage = LVM_SETBKCOLOR;
    actions.SetImageListMessage = LVM_SETIMAGELIST;
    actions.ItemRectMessage = LVM_GETITEMRECT;
    actions.AfterCreate = ApplyListViewStyles;
    return actions;
}

// 1 for a list kept in ascending order, -1 descending, 0 unsorted.
int SortDirection(const Control* listView) {
    if (listView->ListViewOptions & ListViewSortAscending)
        return 1;
    if (listView->ListViewOptions & ListViewSortDescending)
        return -1;
    return 0;
}

// Sorting: every row's data (lParam) is temporarily replaced by its index before the
// sort, which keys the texts taken beforehand; LVM_SORTITEMS hands the compare
// procedure these keys. Indices given to an LVM_SORTITEMSEX procedure cannot be used:
// some platform versions pass positions within their working copy of the rows while
// the rows read back by index (and any texts taken before by index) keep the old order.
struct SortSnapshot {
    std::vector<std::string> Texts;
    int Direction;  // 1 ascending, -1 descending, 0 keep the order
};

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM snapshotAddress) {
    const SortSnapshot* snapshot = reinterpret_cast<const SortSnapshot*>(snapshotAddress);
    const size_t count = snapshot->Texts.size();
    if (snapshot->Direction == 0 || first < 0 || second < 0 ||
        static_cast<size_t>(first) >= count || static_cast<size_t>(second) >= count)
        return 0;
    const std::string& a = snapshot->Texts[static_cast<size_t>(first)];
    const std::string& b = snapshot->Texts[static_cast<size_t>(second)];
    int order = snapshot->Direction > 0 ? CompareRowTexts(a, b) : CompareRowTexts(b, a);
    if (order != 0)
        return order;
    // Equal texts keep their previous order.
    return first < second ? -1 : (first > second ? 1 : 0);
}

LPARAM RowData(Control* listView, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    listView->Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

void SetRowData(Control* listView, int row, LPARAM data) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    listView->Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// Answers LVN_DELETEALLITEMS so that clearing the list sends no LVN_DELETEITEM per row:
// nothing in the layer listens to them, and each would pass the whole notification route
// (clearing 20,000 rows took a tenth of a second more).
bool SkipRowDeletionNotices(Control* listView, MessageRecord& message, LRESULT& result, void*) {
    if (message.Message != WM_NOTIFY || message.LParam == 0)
        return false;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(message.LParam);
    if (header->code != static_cast<UINT>(LVN_DELETEALLITEMS) ||
        header->hwndFrom != listView->Handle)
        return false;
    result = TRUE;
    return true;
}

bool RaiseColumnClick(Control* listView, MessageRecord& message, LRESULT& result, void*) {
    if (message.Message != WM_NOTIFY || message.LParam == 0)
        return false;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(message.LParam);
    if (header->code != static_cast<UINT>(LVN_COLUMNCLICK) || header->hwndFrom != listView->Handle)
        return false;
    const NMLISTVIEW* click = reinterpret_cast<const NMLISTVIEW*>(message.LParam);
    if (listView->ColumnClickEvent.IsSet())
        listView->ColumnClickEvent.Procedure(listView->ColumnClickEvent.Context, listView,
                                             click->iSubItem);
    result = 0;
    return true;
}

}  // namespace

DWORD ListViewStyleOf(std::uint32_t options) {
    DWORD style = 0;
    for (const OptionStyle& entry : OptionStyles) {
        if (options & entry.Option)
            style |= entry.Style;
    }
    if ((options & ListViewHideSelection) == 0)
        style |= LVS_SHOWSELALWAYS;
    if ((options & ListViewMultiSelect) == 0)
        style |= LVS_SINGLESEL;
    return style;
}

DWORD ListViewExtendedStyleOf(std::uint32_t options) {
    DWORD style = 0;
    for (const OptionStyle& entry : OptionExtendedStyles) {
        if (options & entry.Option)
            style |= entry.Style;
    }
    return style;
}

const ControlActions& ListViewActions() {
    static const ControlActions actions = MakeListViewActions();
    return actions;
}

Control* CreateListView(Control* parent, int view, std::uint32_t options, HIMAGELIST normalImages,
                        HIMAGELIST smallImages, HIMAGELIST stateImages) {
    InitCommonControlsOnce(ListViewClasses);
    DWORD style = ListViewBaseStyle | ViewStyleOf(view) | ListViewStyleOf(options);
    Control* listView = CreateChildControl(parent, ControlKind::ListView, WC_LISTVIEWA, style,
                                           &ListViewActions(), true, 200, 150);
    listView->ListViewStyleIndex = view;
    listView->ListViewOptions = options;
    listView->ImageLists[0] = normalImages;
    listView->ImageLists[1] = smallImages;
    listView->ImageLists[2] = stateImages;
    AttachCommonControlNotifications(listView);
    listView->AttachMessageProc(SkipRowDeletionNotices);
    return listView;
}

void AddColumn(Control* listView, const std::string& caption, int width, int alignment) {
    static const int formats[3] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER};
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_TEXT;
    column.fmt = alignment >= 0 && alignment <= 2 ? formats[alignment] : LVCFMT_LEFT;
    column.pszText = const_cast<char*>(caption.c_str());
    if (width > 0) {
        column.mask |= LVCF_WIDTH;
        column.cx = width;
    } else if (width < 0) {
        column.mask |= LVCF_WIDTH;
        column.cx = -width;
        column.fmt |= LVCFMT_BITMAP_ON_RIGHT;
    }
    LRESULT index = listView->Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(listView->ColumnCount),
                                   reinterpret_cast<LPARAM>(&column));
    if (index >= 0)
        ++listView->ColumnCount;
}

int InsertRow(Control* listView, int index, const std::string& text) {
    const int direction = SortDirection(listView);
    if (direction != 0)
        index = SortedRowIndex(listView, text, direction);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_DI_SETITEM;
    item.iItem = index;
    item.iSubItem = 0;
    item.pszText = const_cast<char*>(text.c_str());
    return static_cast<int>(listView->Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

int AddRow(Control* listView, const std::string& text) {
    // A sorting list view places the row itself; the count would not be used.
    return InsertRow(listView, SortDirection(listView) != 0 ? 0 : RowCount(listView), text);
}

bool SetCell(Control* listView, int row, int column, LPARAM data, int overlay, int stateImage,
             unsigned states, int image, const std::string& text) {
    LVITEMA item = {};
    item.mask = column == 0 ? LVIF_TEXT | LVIF_STATE | LVIF_PARAM | LVIF_DI_SETITEM
                            : LVIF_TEXT | LVIF_DI_SETITEM;
    if (image < -2) {
        item.mask = LVIF_TEXT | LVIF_DI_SETITEM;
    } else if (image != -2) {
        item.mask |= LVIF_IMAGE;
        item.iImage = image;
    }
    item.state = states;
    item.stateMask = AllItemStates;
    if (stateImage != 0)
        item.state |= INDEXTOSTATEIMAGEMASK(static_cast<UINT>(stateImage) & 0x0F);
    if (overlay != 0)
        item.state |= INDEXTOOVERLAYMASK(static_cast<UINT>(overlay) & 0x0F);
    if (stateImage < 0)
        item.stateMask &= ~static_cast<UINT>(LVIS_STATEIMAGEMASK);
    if (overlay < 0)
        item.stateMask &= ~static_cast<UINT>(LVIS_OVERLAYMASK);
    item.lParam = data;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    if (listView->Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0)
        return true;
    if (column == 0)
        ReportInternalError("Can not set item ", __FILE__, __LINE__);
    return false;
}

bool SetCell(Control* listView, int row, int column, const std::string& text) {
    return SetCell(listView, row, column, 0, -2, -2, 0, -2, text);
}

std::string GetCell(Control* listView, int row, int column) {
    UINT mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_TEXT;
    if (column > 0 && (listView->ListViewOptions & ListViewSubItemImages) == 0)
        mask = LVIF_PARAM | LVIF_STATE | LVIF_TEXT;
    int capacity = 100;
    for (;;) {
        std::vector<char> buffer(static_cast<size_t>(capacity), '\0');
        LVITEMA item = {};
        item.mask = mask;
        item.iItem = row;
        item.iSubItem = column;
        item.stateMask = AllItemStates;
        item.pszText = buffer.data();
        item.cchTextMax = capacity;
        if (listView->Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) == 0)
            return std::string();
        // The control may point pszText at its own copy instead of filling the buffer.
        const char* text =
            item.pszText != nullptr && item.pszText != LPSTR_TEXTCALLBACKA ? item.pszText : "";
        size_t length = text == buffer.data() ? strnlen(text, buffer.size()) : std::strlen(text);
        // A text cut to fit may end up to one UTF-8 character (4 bytes) short of the
        // buffer's end, since only whole characters are copied.
        if (text != buffer.data() || length + MaxCharacterBytes < static_cast<size_t>(capacity))
            return std::string(text, length);
        capacity = capacity * 2 + 100;
    }
}

int RowCount(Control* listView) {
    return static_cast<int>(listView->Send(LVM_GETITEMCOUNT));
}

unsigned RowState(Control* listView, int row) {
    return static_cast<unsigned>(
               listView->Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), RowStateMask)) &
           RowStateMask;
}

bool IsRowSelected(Control* listView, int row) {
    return (RowState(listView, row) & RowSelected) != 0;
}

void SetRowState(Control* listView, int row, unsigned states) {
    LVITEMA item = {};
    item.stateMask = RowStateMask;
    item.state = states & RowStateMask;
    listView->Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SelectAllRows(Control* listView) {
    SetRowState(listView, -1, RowSelected);
}

void SelectOnlyRow(Control* listView, int row) {
    if ((listView->ListViewOptions & ListViewMultiSelect) != 0 || FirstSelectedRow(listView) != row)
        SetRowState(listView, -1, 0);
    if (row >= 0)
        SetRowState(listView, row, RowFocused | RowSelected);
}

int FirstSelectedRow(Control* listView) {
    return NextSelectedRow(listView, -1);
}

int NextSelectedRow(Control* listView, int row) {
    return static_cast<int>(
        listView->Send(LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
}

int FocusedRow(Control* listView) {
    return static_cast<int>(listView->Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void DeleteRow(Control* listView, int row) {
    if (row < 0)
        return;
    listView->Send(LVM_DELETEITEM, static_cast<WPARAM>(row));
}

void ClearRows(Control* listView) {
    listView->Clear();
}

void SortRowsByColumn(Control* listView, int column) {
    listView->SortColumn = column;
    SortSnapshot snapshot;
    snapshot.Direction = SortDirection(listView);
    const int count = RowCount(listView);
    if (count < 2)
        return;
    std::vector<LPARAM> data(static_cast<size_t>(count));
    snapshot.Texts.resize(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) {
        snapshot.Texts[static_cast<size_t>(row)] = GetCell(listView, row, column);
        data[static_cast<size_t>(row)] = RowData(listView, row);
        SetRowData(listView, row, row);
    }
    listView->Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&snapshot),
                   reinterpret_cast<LPARAM>(&CompareRows));
    for (int row = 0; row < count; ++row) {
        LPARAM key = RowData(listView, row);
        if (key >= 0 && key < count)
            SetRowData(listView, row, data[static_cast<size_t>(key)]);
    }
}

void SetColumnWidth(Control* listView, int column, int width) {
    listView->Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
}

Control* SetColumnClickEvent(Control* listView, ColumnClickProc procedure, void* context) {
    listView->ColumnClickEvent.Procedure = procedure;
    listView->ColumnClickEvent.Context = context;
    listView->AttachMessageProc(RaiseColumnClick);
    return listView;
}
