#include "control/MessageLoop.h"

#include <commctrl.h>

#include "control/Control.h"
#include "control/MessageProcedures.h"
#include "control/Painting.h"
#include "control/UniqueHandle.h"

namespace {

Control* application = nullptr;
bool running = false;
bool terminated = false;
Control* beingCreated = nullptr;

// comctl32.dll loaded for InitCommonControlsEx; freed when the program ends.
class CommonControlsLibrary {
public:
    HMODULE Get()
    {
        if (!tried_) {
            tried_ = true;
            module_.Reset(LoadLibraryA("comctl32.dll"));
        }
        return module_.Get();
    }

private:
    ModuleHandle module_;
    bool tried_ = false;
};

CommonControlsLibrary commonControls;

// The parent's side of common-control notifications: WM_NOTIFY from a window with a
// Control goes to that control's attached procedures.
bool NotifyRoutingProcedure(Control* control, MessageRecord& message, LRESULT& result, void*)
{
    if (message.Message != WM_NOTIFY || !message.LParam)
        return false;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(message.LParam);
    Control* sender = ControlFromWindow(header->hwndFrom);
    if (!sender || sender == control)
        return false;
    MessageRecord routed = message;
    routed.Window = sender->Handle;
    return RunAttachedProcs(sender, routed, result);
}

// The common control's own notifications: clicks, focus changes, Enter.
bool CommonControlProcedure(Control* control, MessageRecord& message, LRESULT& result, void*)
{
    if (message.Message != WM_NOTIFY || !message.LParam)
        return false;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(message.LParam);
    if (header->hwndFrom != control->Handle)
        return false;
    Event<NotifyProc>* event = nullptr;
    switch (header->code) {
    case NM_CLICK:
    case NM_RCLICK:
        control->RightClick = header->code == static_cast<UINT>(NM_RCLICK);
        event = &control->ClickEvent;
        break;
    case NM_KILLFOCUS:
        event = &control->LeaveEvent;
        break;
    case NM_SETFOCUS:
    case NM_RETURN:
        event = &control->EnterEvent;
        break;
    default:
        return false;
    }
    if (!event->IsSet())
        return false;
    RaiseEvent(*event, control);
    result = 0;
    return true;
}

void SyncBoundsFromWindow(Control* control)
{
    if (!control->Handle || IsIconic(control->Handle))
        return;
    RECT rect = {};
    if (!GetWindowRect(control->Handle, &rect))
        return;
    if (GetWindowLongPtrA(control->Handle, GWL_STYLE) & WS_CHILD) {
        if (HWND parent = GetParent(control->Handle))
            MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    control->Bounds = rect;
}

}  // namespace

void SetBeingCreated(Control* control)
{
    beingCreated = control;
}

Control* ControlFromWindow(HWND window)
{
    if (!window || !IsWindow(window))
        return nullptr;
    if (reinterpret_cast<WNDPROC>(GetClassLongPtrA(window, GCLP_WNDPROC)) != CommonWindowProc)
        return nullptr;
    return reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

Control* ApplicationObject()
{
    return application;
}

void SetApplicationObject(Control* control)
{
    application = control;
}

bool IsRunLoopRunning()
{
    return running;
}

bool IsTerminated()
{
    return terminated;
}

void ResetRunLoopState()
{
    running = false;
    terminated = false;
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// ---------------------------------------------------------------------------------
// Dispatch

LRESULT CALLBACK CommonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Control* control = reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!control && beingCreated) {
        control = beingCreated;
        beingCreated = nullptr;
        control->Handle = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    if (!control)
        return DefWindowProcA(window, message, wParam, lParam);

    MessageRecord record{window, message, wParam, lParam};
    if (control->IsDestroying)
        return control->DefaultProcessing(record);

    EnterMessageHandling();
    ++control->NestingDepth;
    LRESULT result = 0;
    try {
        result = control->WindowProc(record);
    } catch (...) {
        result = 0;
    }
    --control->NestingDepth;
    // A form of its own (no owner) whose window is gone goes with its last handler;
    // owned controls live until their owner releases them.
    if (control->RefCount == 0 && control->NestingDepth <= 0 && control->DestroyRequested &&
        control->WindowGone && control != application && !control->Parent && !control->IsDestroyScheduled())
        control->Release();
    LeaveMessageHandling();
    return result;
}

LRESULT Control::DefaultProcessing(MessageRecord& message)
{
    if (DefaultProc)
        return CallWindowProcA(DefaultProc, message.Window, message.Message, message.WParam, message.LParam);
    return DefWindowProcA(message.Window, message.Message, message.WParam, message.LParam);
}

bool RunAttachedProcs(Control* control, MessageRecord& message, LRESULT& result)
{
    if (control->MessageProcs.empty())
        return false;
    const std::vector<AttachedProc> procedures = control->MessageProcs;
    bool handled = false;
    control->AddRef();
    for (auto it = procedures.rbegin(); it != procedures.rend(); ++it) {
        if (terminated && !it->Argument)
            continue;
        if (!control->HasMessageProc(it->Procedure))
            continue;
        if (it->Procedure(control, message, result, it->Argument)) {
            handled = true;
            break;
        }
    }
    control->Release();
    return handled;
}

LRESULT Control::WindowProc(MessageRecord& message)
{
    if (message.Window && !Handle && !WindowGone)
        Handle = message.Window;

    LRESULT result = 0;
    if (running && application && application != this && application->MessageHook.IsSet() &&
        application->MessageHook.Procedure(application->MessageHook.Context, this, message, result))
        return result;
    if (MessageHook.IsSet() && MessageHook.Procedure(MessageHook.Context, this, message, result))
        return result;
    if (RunAttachedProcs(this, message, result))
        return result;

    switch (message.Message) {
    case WM_CLOSE:
        if (this == application || (!application && IsForm))
            PostQuitMessage(0);
        return DefaultProcessing(message);
    case WM_DESTROY:
        DestroyRequested = true;
        return DefaultProcessing(message);
    case WM_NCDESTROY: {
        // The standard procedure frees its own data here.
        DefaultProcessing(message);
        SetWindowLongPtrA(message.Window, GWLP_USERDATA, 0);
        if (Handle == message.Window)
            Handle = nullptr;
        WindowGone = true;
        return 0;
    }
    case WM_SIZE: {
        result = DefaultProcessing(message);
        SizeType = message.WParam;
        SyncBoundsFromWindow(this);
        if (Parent)
            Realign(Parent);
        Realign(this);
        return result;
    }
    case WM_MOVE:
        result = DefaultProcessing(message);
        SyncBoundsFromWindow(this);
        return result;
    case WM_SETFOCUS:
        if (Enabled || TabStop) {
            ++FocusChangeDepth;
            result = DefaultProcessing(message);
            --FocusChangeDepth;
            return result;
        }
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        HWND child = reinterpret_cast<HWND>(message.LParam);
        if (child && child != message.Window && ControlFromWindow(child))
            return SendMessageA(child, message.Message + ReflectedColourBase, message.WParam, message.LParam);
        return DefaultProcessing(message);
    }
    case WM_COMMAND: {
        HWND child = reinterpret_cast<HWND>(message.LParam);
        if (child && child != message.Window && ControlFromWindow(child))
            return SendMessageA(child, ReflectedCommand, message.WParam, message.LParam);
        return DefaultProcessing(message);
    }
    default:
        break;
    }

    if (message.Message >= WM_KEYDOWN && message.Message <= 0x108) {
        if (KeyboardHandler && KeyboardHandler(this, message, result))
            return result;
        if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
            return DefaultProcessing(message);
        if (message.Message == WM_CHAR && message.WParam == VK_TAB) {
            message.WParam = 0;
            return 0;
        }
        return DefaultProcessing(message);
    }
    return DefaultProcessing(message);
}

// ---------------------------------------------------------------------------------
// Procedures attached by the constructors

void RunClickPath(Control* control)
{
    if (control->ClickAction)
        control->ClickAction(control);
    RaiseEvent(control->ClickEvent, control);
}

bool GenericChildProcedure(Control* control, MessageRecord& message, LRESULT& result, void*)
{
    if (message.Message >= WM_CTLCOLORMSGBOX + ReflectedColourBase &&
        message.Message <= WM_CTLCOLORSTATIC + ReflectedColourBase) {
        result = reinterpret_cast<LRESULT>(AnswerColourMessage(control, reinterpret_cast<HDC>(message.WParam)));
        return true;
    }
    if (message.Message == ReflectedCommand) {
        const ControlActions* actions = control->Actions;
        if (!actions)
            return false;
        const std::uint32_t code = HIWORD(message.WParam);
        if (code == actions->ClickCode) {
            if (control->FocusChangeDepth == 0 && control->TabStop) {
                HWND focusWindow = control->InnerHandle ? control->InnerHandle : control->Handle;
                if (focusWindow)
                    SetFocus(focusWindow);
                if (Control* form = control->ParentForm())
                    form->SetFocusedChild(control);
            }
            RunClickPath(control);
        } else if (code == actions->EnterCode) {
            RaiseEvent(control->EnterEvent, control);
        } else if (code == actions->LeaveCode) {
            RaiseEvent(control->LeaveEvent, control);
        } else if (code == actions->ChangeCode) {
            RaiseEvent(control->ChangeEvent, control);
        } else if (code == actions->SelectionChangeCode) {
            if (control->SelectionChangeEvent.IsSet())
                RaiseEvent(control->SelectionChangeEvent, control);
            else
                RaiseEvent(control->ChangeEvent, control);
        } else {
            return false;
        }
        if (control->Handle)
            result = control->DefaultProcessing(message);
        return true;
    }
    if (message.Message == WM_SETFOCUS) {
        if (Control* form = control->ParentForm())
            form->SetFocusedChild(control);
    }
    return false;
}

bool FormFocusProcedure(Control* control, MessageRecord& message, LRESULT& result, void*)
{
    if (message.Message != WM_SETFOCUS)
        return false;
    if (application && application != control && application->IsForm)
        application->FocusedChild = control;
    Control* child = control->FocusedChild;
    if (!child)
        return false;
    HWND window = child->WindowHandle();
    if (!window)
        return false;
    SetFocus(child->InnerHandle ? child->InnerHandle : window);
    result = 0;
    return true;
}

bool OwnerDrawReflectProcedure(Control*, MessageRecord& message, LRESULT& result, void*)
{
    if (message.Message != WM_DRAWITEM || !message.LParam)
        return false;
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    if (!ControlFromWindow(item->hwndItem))
        return false;
    SendMessageA(item->hwndItem, ReflectedDrawItem, message.WParam, message.LParam);
    result = 1;
    return true;
}

void AttachCommonControlNotifications(Control* commonControl)
{
    if (!commonControl)
        return;
    commonControl->IsCommonControl = true;
    commonControl->AttachMessageProc(CommonControlProcedure);
    if (commonControl->Parent)
        commonControl->Parent->AttachMessageProc(NotifyRoutingProcedure);
}

// ---------------------------------------------------------------------------------
// Run loop

bool ProcessPendingMessages(Control*)
{
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (message.message == WM_QUIT) {
        terminated = true;
    } else {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return message.message != 0;
}

void ProcessAllMessages(Control* application)
{
    while (ProcessPendingMessages(application)) {
    }
}

void RunLoop(Control*& mainWindow)
{
    running = true;
    application = mainWindow;
    // A main window that cannot be created ends the loop at once instead of waiting
    // for a quit message that can never come.
    if (!mainWindow || !mainWindow->CreateWindowHandle())
        terminated = true;
    // Messages already waiting are handled first: WaitMessage only wakes for messages
    // that arrive after the queue was last looked at.
    ProcessAllMessages(application);
    while (!terminated) {
        WaitMessage();
        ProcessAllMessages(application);
    }
    if (mainWindow)
        Terminate(mainWindow);
    running = false;
}

void Terminate(Control*& mainWindow)
{
    const bool wasTerminated = terminated;
    terminated = true;
    running = false;
    Control* object = application ? application : mainWindow;
    application = nullptr;
    if (!object) {
        mainWindow = nullptr;
        return;
    }
    object->AddRef();
    if (!wasTerminated) {
        ProcessAllMessages(object);
        if (object->Handle)
            SendMessageA(object->Handle, WM_CLOSE, 0, 0);
    }
    mainWindow = nullptr;
    object->Release();
    object->Release();
}

void InitCommonControlsOnce(DWORD classes)
{
    InitCommonControls();
    HMODULE module = commonControls.Get();
    if (!module)
        return;
    using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    FARPROC found = GetProcAddress(module, "InitCommonControlsEx");
    if (!found)
        return;
    InitEx initEx = reinterpret_cast<InitEx>(reinterpret_cast<void (*)()>(found));
    INITCOMMONCONTROLSEX request = {sizeof(INITCOMMONCONTROLSEX), classes};
    initEx(&request);
}
