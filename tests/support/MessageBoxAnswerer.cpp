#include "support/MessageBoxAnswerer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using MessageBoxAProc = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);

// Arguments of a MessageBoxA call in progress; claimed by the box it creates.
struct PendingCall {
    uint32_t Flags;
    bool CaptionNull;
    bool Claimed;
};

MessageBoxAnswerer* activeAnswerer = nullptr;
MessageBoxAProc realMessageBoxA = nullptr;
std::vector<PendingCall> pendingCalls;

int WINAPI RecordingMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT flags) {
    if (activeAnswerer != nullptr && activeAnswerer->SkipMessageBox(text, caption, flags)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    pendingCalls.push_back(PendingCall{flags, caption == nullptr, false});
    int result = realMessageBoxA(owner, text, caption, flags);
    pendingCalls.pop_back();
    return result;
}

LRESULT CALLBACK CallWndProcRetHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && activeAnswerer != nullptr) {
        const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (call->message == WM_INITDIALOG &&
            (GetWindowLongPtrA(call->hwnd, GWL_STYLE) & WS_CHILD) == 0)
            activeAnswerer->OnDialogInitialised(call->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(window, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::wstring WideWindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::string ClassNameOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

bool IsStatic(HWND window) {
    return _stricmp(ClassNameOf(window).c_str(), "Static") == 0;
}

bool IsIconStatic(HWND window) {
    return IsStatic(window) && (GetWindowLongPtrA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

bool HasVisibleButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return button != nullptr && (GetWindowLongPtrA(button, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The button set, help button and icon of a message box, rebuilt from its window.
uint32_t FlagsShownBy(HWND dialog) {
    uint32_t flags = MB_OK;
    bool ok = HasVisibleButton(dialog, IDOK), cancel = HasVisibleButton(dialog, IDCANCEL);
    bool yes = HasVisibleButton(dialog, IDYES), no = HasVisibleButton(dialog, IDNO);
    if (HasVisibleButton(dialog, IDABORT))
        flags = MB_ABORTRETRYIGNORE;
    else if (HasVisibleButton(dialog, IDCONTINUE))
        flags = MB_CANCELTRYCONTINUE;
    else if (yes && no)
        flags = cancel ? MB_YESNOCANCEL : MB_YESNO;
    else if (HasVisibleButton(dialog, IDRETRY))
        flags = MB_RETRYCANCEL;
    else if (ok && cancel)
        flags = MB_OKCANCEL;
    if (HasVisibleButton(dialog, IDHELP))
        flags |= MB_HELP;

    struct IconFlag {
        LPCSTR Icon;
        uint32_t Flag;
    };
    static const IconFlag icons[] = {{IDI_HAND, MB_ICONHAND},
                                     {IDI_QUESTION, MB_ICONQUESTION},
                                     {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                                     {IDI_ASTERISK, MB_ICONASTERISK}};
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsIconStatic(child) || (GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE) == 0)
            continue;
        HICON shown = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        for (const IconFlag& icon : icons) {
            if (shown != nullptr && shown == LoadIconA(nullptr, icon.Icon))
                flags |= icon.Flag;
        }
    }
    return flags;
}

// The IAT slot of the executable that holds target, or nullptr.
void** FindImportSlot(HMODULE module, void* target) {
    BYTE* base = reinterpret_cast<BYTE*>(module);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE)
        return nullptr;
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0)
        return nullptr;
    const IMAGE_IMPORT_DESCRIPTOR* import =
        reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    for (; import->Name != 0; ++import) {
        void** slot = reinterpret_cast<void**>(base + import->FirstThunk);
        for (; *slot != nullptr; ++slot) {
            if (*slot == target)
                return slot;
        }
    }
    return nullptr;
}

bool WriteSlot(void** slot, void* value) {
    DWORD oldProtection = 0;
    if (!VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &oldProtection))
        return false;
    *slot = value;
    VirtualProtect(slot, sizeof(void*), oldProtection, &oldProtection);
    return true;
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(int defaultAnswer) : defaultAnswer_(defaultAnswer) {
    if (activeAnswerer != nullptr) {
        ADD_FAILURE() << "MessageBoxAnswerer: another answerer is already active on this thread";
        return;
    }
    activeAnswerer = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, CallWndProcRetHook, nullptr, GetCurrentThreadId());
    if (hook_ == nullptr)
        ADD_FAILURE() << "MessageBoxAnswerer: SetWindowsHookExA failed, error " << GetLastError();

    HMODULE user32 = GetModuleHandleA("user32.dll");
    void* target = user32 != nullptr
                       ? reinterpret_cast<void*>(GetProcAddress(user32, "MessageBoxA"))
                       : nullptr;
    void** slot = target != nullptr ? FindImportSlot(GetModuleHandleA(nullptr), target) : nullptr;
    if (slot != nullptr) {
        realMessageBoxA = reinterpret_cast<MessageBoxAProc>(target);
        if (WriteSlot(slot, reinterpret_cast<void*>(&RecordingMessageBoxA))) {
            importSlot_ = slot;
            originalImport_ = target;
        }
    }
}

MessageBoxAnswerer::MessageBoxAnswerer(std::initializer_list<int> answers, int defaultAnswer)
    : MessageBoxAnswerer(defaultAnswer) {
    answers_.assign(answers.begin(), answers.end());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    if (activeAnswerer != this)
        return;
    if (importSlot_ != nullptr)
        WriteSlot(importSlot_, originalImport_);
    if (hook_ != nullptr)
        UnhookWindowsHookEx(hook_);
    activeAnswerer = nullptr;
}

void MessageBoxAnswerer::Enqueue(int answer) {
    answers_.push_back(answer);
}

std::vector<AnsweredBox> MessageBoxAnswerer::MessageBoxes() const {
    std::vector<AnsweredBox> result;
    for (const AnsweredBox& box : boxes_) {
        if (box.IsMessageBox)
            result.push_back(box);
    }
    return result;
}

int MessageBoxAnswerer::NextAnswer() {
    if (answers_.empty())
        return defaultAnswer_;
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void MessageBoxAnswerer::OnDialogInitialised(HWND dialog) {
    AnsweredBox box;
    box.Caption = WindowText(dialog);

    // A message box's text is the static control 0xFFFF.
    HWND messageText = GetDlgItem(dialog, 0xFFFF);
    box.IsMessageBox = messageText != nullptr && IsStatic(messageText);
    if (box.IsMessageBox) {
        box.Text = WindowText(messageText);
        box.TextAsShown = WideWindowText(messageText);
    } else {
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (IsStatic(child) && !IsIconStatic(child)) {
                box.Text = WindowText(child);
                break;
            }
        }
    }

    if (box.IsMessageBox) {
        if (!pendingCalls.empty() && !pendingCalls.back().Claimed) {
            pendingCalls.back().Claimed = true;
            box.Flags = pendingCalls.back().Flags;
            box.CaptionNull = pendingCalls.back().CaptionNull;
            box.FlagsExact = true;
        } else {
            box.Flags = FlagsShownBy(dialog);
        }
    }

    box.Answer = NextAnswer();
    boxes_.push_back(box);
    if (check_)
        check_(box);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(box.Answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, box.Answer)));
}

bool MessageBoxAnswerer::SkipMessageBox(LPCSTR text, LPCSTR caption, UINT flags) {
    if (answers_.empty() ? defaultAnswer_ != NotShown : answers_.front() != NotShown)
        return false;
    NextAnswer();
    AnsweredBox box;
    box.Caption = caption != nullptr ? caption : "";
    box.Text = text != nullptr ? text : "";
    box.Flags = flags;
    box.FlagsExact = true;
    box.CaptionNull = caption == nullptr;
    box.IsMessageBox = true;
    box.Answer = NotShown;
    boxes_.push_back(box);
    if (check_)
        check_(box);
    return true;
}
