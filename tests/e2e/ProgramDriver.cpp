#include "ProgramDriver.h"

#include <commctrl.h>

#include <cstring>

namespace {

const UINT ReplyTimeoutMs = 10000;

std::string ClassNameOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           _stricmp(text.c_str() + text.size() - suffix.size(), suffix.c_str()) == 0;
}

// Sends a message to a window of the program and waits for its reply; false when the
// program did not answer in time.
bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                     UINT timeoutMs = ReplyTimeoutMs) {
    DWORD_PTR reply = 0;
    const LRESULT sent =
        SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &reply);
    result = static_cast<LRESULT>(reply);
    return sent != 0;
}

// A block of memory inside the program's address space, for list view messages whose
// lParam points at a record the program must be able to read and write.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t size)
        : process_(process),
          address_(
              VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (address_ != nullptr) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool IsValid() const { return address_ != nullptr; }
    char* Address() const { return static_cast<char*>(address_); }
    bool Write(size_t offset, const void* data, size_t size) const {
        SIZE_T written = 0;
        return WriteProcessMemory(process_, Address() + offset, data, size, &written) &&
               written == size;
    }
    bool Read(size_t offset, void* data, size_t size) const {
        SIZE_T read = 0;
        return ReadProcessMemory(process_, Address() + offset, data, size, &read) && read == size;
    }

private:
    HANDLE process_;
    void* address_;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
    reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&children));
    return children;
}

}  // namespace

bool ProgramDriver::HasExited() const {
    return program_.HasExited();
}

bool ProgramDriver::Start(const std::string& programPath, const std::string& title) {
    if (!program_.Start(programPath)) {
        failure_ = "cannot start " + programPath + ", error " + std::to_string(GetLastError());
        return false;
    }
    WaitForInputIdle(program_.Process(), ReplyTimeoutMs);
    main_ = program_.WaitForWindow(title, 20000);
    if (main_ == nullptr) {
        failure_ = "no window titled \"" + title + "\" appeared";
        return false;
    }
    if (!FindControls()) {
        failure_ = "the main window's controls were not found";
        return false;
    }
    return true;
}

bool ProgramDriver::FindControls() {
    for (HWND child : ChildrenOf(main_)) {
        const std::string className = ClassNameOf(child);
        const std::string parentClass = ClassNameOf(GetParent(child));
        if (EndsWithIgnoringCase(className, "SysListView32")) {
            listView_ = child;
        } else if (EndsWithIgnoringCase(className, "COMBOBOX")) {
            maskCombo_ = child;
        } else if (EndsWithIgnoringCase(className, "EDIT") &&
                   !EndsWithIgnoringCase(parentClass, "COMBOBOX")) {
            const std::string text = Text(child);
            if (text == "C:\\") {
                folderEdit_ = child;
            } else if (text == "vrs") {
                renameFilesEdit_ = child;
            } else if (text == "_vrs") {
                renameWithEdit_ = child;
            }
        } else if (EndsWithIgnoringCase(className, "STATIC") && Text(child) == "Information") {
            infoLabel_ = child;
        }
    }
    return listView_ && maskCombo_ && folderEdit_ && renameFilesEdit_ && renameWithEdit_ &&
           infoLabel_;
}

HWND ProgramDriver::Button(const std::string& caption) const {
    for (HWND child : ChildrenOf(main_)) {
        if (EndsWithIgnoringCase(ClassNameOf(child), "BUTTON") && Text(child) == caption) {
            return child;
        }
    }
    return nullptr;
}

bool ProgramDriver::SetText(HWND window, const std::string& text) const {
    LRESULT result = 0;
    return SendWithTimeout(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), result) &&
           result != 0;
}

std::string ProgramDriver::Text(HWND window) const {
    char text[4096] = {};
    LRESULT length = 0;
    if (!SendWithTimeout(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), length)) {
        return std::string();
    }
    return std::string(text, static_cast<size_t>(length > 0 ? length : 0));
}

bool ProgramDriver::Type(HWND edit, const std::string& text) const {
    HWND target = edit;
    if (EndsWithIgnoringCase(ClassNameOf(edit), "COMBOBOX")) {
        HWND inner = FindWindowExA(edit, nullptr, "Edit", nullptr);
        if (inner != nullptr) {
            target = inner;
        }
    }
    if (!SetText(target, "")) {
        return false;
    }
    // Characters outside ASCII arrive as a paste would bring them: a keyboard's characters
    // reach an ANSI window through its layout's code page, which here is not the one of
    // every script.
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            const int length = MultiByteToWideChar(CP_ACP, 0, text.data(),
                                                   static_cast<int>(text.size()), nullptr, 0);
            std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
            MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                                length);
            DWORD_PTR reply = 0;
            if (!SendMessageTimeoutW(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                                     SMTO_ABORTIFHUNG, ReplyTimeoutMs, &reply)) {
                return false;
            }
            return Text(edit) == text;
        }
    }
    LRESULT result = 0;
    for (char c : text) {
        if (!SendWithTimeout(target, WM_CHAR, static_cast<unsigned char>(c), 1, result)) {
            return false;
        }
    }
    return Text(edit) == text;
}

void ProgramDriver::Click(HWND button) const {
    PostMessageA(button, BM_CLICK, 0, 0);
}

bool ProgramDriver::Sync() const {
    LRESULT result = 0;
    return SendWithTimeout(main_, WM_NULL, 0, 0, result);
}

bool ProgramDriver::ClickAndWait(const std::string& caption, UINT timeoutMs) const {
    HWND button = Button(caption);
    LRESULT result = 0;
    return button != nullptr && SendWithTimeout(button, BM_CLICK, 0, 0, result, timeoutMs);
}

std::string ProgramDriver::WaitForInfo(const std::vector<std::string>& prefixes,
                                       DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    for (;;) {
        const std::string text = Text(infoLabel_);
        for (const std::string& prefix : prefixes) {
            if (text.compare(0, prefix.size(), prefix) == 0) {
                return text;
            }
        }
        if (GetTickCount() - start > timeoutMs || HasExited()) {
            return std::string();
        }
        Sleep(20);
    }
}

int ProgramDriver::RowCount() const {
    LRESULT count = 0;
    return SendWithTimeout(listView_, LVM_GETITEMCOUNT, 0, 0, count) ? static_cast<int>(count) : -1;
}

std::string ProgramDriver::Cell(int row, int column) const {
    const size_t capacity = 4096;
    RemoteMemory memory(program_.Process(), sizeof(LVITEMA) + capacity);
    if (!memory.IsValid()) {
        return std::string();
    }
    LVITEMA item;
    std::memset(&item, 0, sizeof item);
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = memory.Address() + sizeof(LVITEMA);
    item.cchTextMax = static_cast<int>(capacity);
    const char nothing = 0;
    LRESULT length = 0;
    if (!memory.Write(0, &item, sizeof item) || !memory.Write(sizeof item, &nothing, 1) ||
        !SendWithTimeout(listView_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(memory.Address()), length) ||
        length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length), '\0');
    return memory.Read(sizeof item, &text[0], text.size()) ? text : std::string();
}

std::wstring ProgramDriver::CellAsShown(int row, int column) const {
    const size_t capacity = 4096;
    RemoteMemory memory(program_.Process(), sizeof(LVITEMW) + capacity * sizeof(wchar_t));
    if (!memory.IsValid()) {
        return std::wstring();
    }
    LVITEMW item;
    std::memset(&item, 0, sizeof item);
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(memory.Address() + sizeof(LVITEMW));
    item.cchTextMax = static_cast<int>(capacity);
    const wchar_t nothing = 0;
    LRESULT length = 0;
    DWORD_PTR reply = 0;
    if (!memory.Write(0, &item, sizeof item) ||
        !memory.Write(sizeof item, &nothing, sizeof nothing) ||
        !SendMessageTimeoutW(listView_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                             reinterpret_cast<LPARAM>(memory.Address()), SMTO_ABORTIFHUNG,
                             ReplyTimeoutMs, &reply)) {
        return std::wstring();
    }
    length = static_cast<LRESULT>(reply);
    if (length <= 0) {
        return std::wstring();
    }
    std::wstring text(static_cast<size_t>(length), L'\0');
    return memory.Read(sizeof item, &text[0], text.size() * sizeof(wchar_t)) ? text
                                                                             : std::wstring();
}

std::vector<std::vector<std::string>> ProgramDriver::Rows() const {
    std::vector<std::vector<std::string>> rows;
    const int count = RowCount();
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < 5; ++column) {
            cells.push_back(Cell(row, column));
        }
        rows.push_back(cells);
    }
    return rows;
}

unsigned ProgramDriver::RowState(int row) const {
    LRESULT state = 0;
    return SendWithTimeout(listView_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), 0x0F, state)
               ? static_cast<unsigned>(state)
               : 0;
}

std::vector<int> ProgramDriver::SelectedRows() const {
    std::vector<int> rows;
    LRESULT row = -1;
    while (
        SendWithTimeout(listView_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED, row) &&
        row >= 0 && rows.size() < 100000) {
        rows.push_back(static_cast<int>(row));
    }
    return rows;
}

bool ProgramDriver::SetRowState(int row, unsigned state) const {
    RemoteMemory memory(program_.Process(), sizeof(LVITEMA));
    LVITEMA item;
    std::memset(&item, 0, sizeof item);
    item.stateMask = 0x0F;
    item.state = state;
    LRESULT result = 0;
    return memory.IsValid() && memory.Write(0, &item, sizeof item) &&
           SendWithTimeout(listView_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                           reinterpret_cast<LPARAM>(memory.Address()), result) &&
           result != 0;
}

bool ProgramDriver::PostRowState(int row, unsigned state) const {
    const size_t blockSize = 65536;
    if (postedRecords_ == nullptr || postedUsed_ + sizeof(LVITEMA) > blockSize) {
        postedRecords_ = static_cast<char*>(VirtualAllocEx(
            program_.Process(), nullptr, blockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        postedUsed_ = 0;
        if (postedRecords_ == nullptr) {
            return false;
        }
    }
    LVITEMA item;
    std::memset(&item, 0, sizeof item);
    item.stateMask = 0x0F;
    item.state = state;
    char* record = postedRecords_ + postedUsed_;
    SIZE_T written = 0;
    if (!WriteProcessMemory(program_.Process(), record, &item, sizeof item, &written) ||
        written != sizeof item) {
        return false;
    }
    postedUsed_ += (sizeof item + 15) / 16 * 16;
    return PostMessageA(listView_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(record)) != 0;
}

int ProgramDriver::FindRow(const std::string& name) const {
    const int count = RowCount();
    for (int row = 0; row < count; ++row) {
        if (Cell(row, 0) == name) {
            return row;
        }
    }
    return -1;
}

ProgramBox ProgramDriver::ReadBox(HWND window) const {
    ProgramBox box;
    box.Window = window;
    char caption[256] = {};
    GetWindowTextA(box.Window, caption, sizeof caption);
    box.Caption = caption;
    HWND message = GetDlgItem(box.Window, 0xFFFF);
    if (message != nullptr) {
        box.Text = Text(message);
    }
    for (HWND child : ChildrenOf(box.Window)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        const std::string className = ClassNameOf(child);
        const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
        if (_stricmp(className.c_str(), "Button") == 0) {
            box.Buttons.push_back(GetDlgCtrlID(child));
        } else if (_stricmp(className.c_str(), "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
            box.HasIcon = true;
        }
    }
    return box;
}

bool ProgramDriver::WaitForBox(ProgramBox& box, DWORD timeoutMs) const {
    HWND found = nullptr;
    const DWORD start = GetTickCount();
    while ((found = program_.MessageBoxWindow()) == nullptr) {
        if (GetTickCount() - start > timeoutMs || HasExited()) {
            return false;
        }
        Sleep(20);
    }
    box = ReadBox(found);
    return true;
}

std::vector<ProgramBox> ProgramDriver::Boxes() const {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    std::vector<ProgramBox> boxes;
    for (HWND window : windows) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == ProcessId() && IsWindowVisible(window) && ClassNameOf(window) == "#32770") {
            boxes.push_back(ReadBox(window));
        }
    }
    return boxes;
}

bool ProgramDriver::NoBoxWithin(DWORD ms) const {
    ProgramBox box;
    return !WaitForBox(box, ms);
}

bool ProgramDriver::Answer(const ProgramBox& box, int id) const {
    PostMessageA(box.Window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box.Window, id)));
    const DWORD start = GetTickCount();
    while (IsWindow(box.Window)) {
        if (GetTickCount() - start > ReplyTimeoutMs) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

bool ProgramDriver::Dismiss(const ProgramBox& box, int id) const {
    PostMessageA(box.Window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box.Window, id)));
    const DWORD start = GetTickCount();
    while (IsWindow(box.Window) && IsWindowVisible(box.Window)) {
        if (GetTickCount() - start > ReplyTimeoutMs || HasExited()) {
            return false;
        }
        Sleep(5);
    }
    return true;
}

void ProgramDriver::ClickColumnHeader(int column) const {
    HWND header = FindWindowExA(listView_, nullptr, WC_HEADERA, nullptr);
    if (header == nullptr) {
        return;
    }
    // The middle of the column's header: the widths of the columns before it, half its own.
    int left = 0;
    LRESULT width = 0;
    for (int index = 0; index <= column; ++index) {
        if (!SendWithTimeout(listView_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0, width)) {
            return;
        }
        if (index < column) {
            left += static_cast<int>(width);
        }
    }
    RECT area = {};
    GetClientRect(header, &area);
    const LPARAM point =
        MAKELPARAM(left + static_cast<int>(width) / 2, (area.bottom - area.top) / 2);
    PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(header, WM_LBUTTONUP, 0, point);
}

void ProgramDriver::PressListKey(UINT key) const {
    PostMessageA(listView_, WM_KEYDOWN, key, 1);
    PostMessageA(listView_, WM_KEYUP, key, 0xC0000001);
}

bool ProgramDriver::Drain(DWORD timeoutMs) const {
    // The list's hover time is a setting the program never reads: a harmless marker
    // whose arrival can be seen from here.
    static DWORD marker = 0x10000;
    const DWORD expected = ++marker;
    if (!PostMessageA(listView_, LVM_SETHOVERTIME, 0, static_cast<LPARAM>(expected))) {
        return false;
    }
    const DWORD start = GetTickCount();
    for (;;) {
        LRESULT current = 0;
        if (SendWithTimeout(listView_, LVM_GETHOVERTIME, 0, 0, current, 1000) &&
            static_cast<DWORD>(current) == expected) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs || HasExited()) {
            return false;
        }
        Sleep(5);
    }
}

long ProgramDriver::Close(DWORD timeoutMs) {
    if (!HasExited()) {
        PostMessageA(main_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(program_.Process(), timeoutMs) != WAIT_OBJECT_0) {
            return -1;
        }
    }
    return program_.ExitCode();
}
