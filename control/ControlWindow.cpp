#include "control/ControlWindow.h"

#include <algorithm>

#include "control/Control.h"

namespace {

// The bounds follow the window after the platform moved or sized it (for a child,
// relative to its parent's client area).
void SyncBoundsFromWindow(Control* control) {
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

bool ControlWindow::CreateWindowHandle() {
    if (WindowGone || IsDestroying)
        return false;
    if (Parent && !Parent->Handle) {
        if (!Parent->WindowHandle())
            return false;
        if (Handle)
            return true;  // created together with the parent's children
    }
    if (Handle) {
        for (size_t i = 0; i < Children.size(); ++i)
            Children[i]->CreateWindowHandle();
        if (PendingShow) {
            PendingShow = false;
            Self()->SetVisible(true);
        }
        return true;
    }

    const std::string className = CustomClassName ? BaseClassName : "obj_" + BaseClassName;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    if (BaseClassName != "Form" && !CustomClassName) {
        if (!GetClassInfoA(nullptr, BaseClassName.c_str(), &windowClass))
            return false;
        windowClass.style &= ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS);
        if (!DefaultProc)
            DefaultProc = windowClass.lpfnWndProc;
    } else {
        windowClass.style = ClassStyle;
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    }
    HWND parentWindow = Parent ? Parent->Handle : nullptr;
    if ((Style & WS_CHILD) && !parentWindow)
        return false;
    WNDCLASSA registered = {};
    if (!GetClassInfoA(instance, className.c_str(), &registered)) {
        windowClass.lpfnWndProc = CommonWindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = className.c_str();
        windowClass.lpszMenuName = nullptr;
        if (!RegisterClassA(&windowClass))
            return false;
    }

    int x = Bounds.left;
    int y = Bounds.top;
    int width = Width();
    int height = Height();
    if (width == 0)
        width = CW_USEDEFAULT;
    if (height == 0)
        height = CW_USEDEFAULT;
    if (IsForm && !PositionSet) {
        x = CW_USEDEFAULT;
        y = CW_USEDEFAULT;
    }
    HMENU menuOrId =
        IsChildWindow ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ControlId)) : nullptr;
    SetBeingCreated(Self());
    HWND window = CreateWindowExA(ExStyle, className.c_str(), Caption.c_str(), Style, x, y, width,
                                  height, parentWindow, menuOrId, instance, nullptr);
    SetBeingCreated(nullptr);
    if (!window)
        return false;
    Handle = window;

    // Focus rectangles are shown.
    SendMessageA(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (GetWindowLongPtrA(window, GWLP_USERDATA) == 0)
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Self()));
    if (IsForm) {
        Control* application = ApplicationObject();
        if (application == Self() || !application) {
            if (application == Self() && !SmallIcon) {
                SmallIcon = LoadIconA(instance, "MAINICON");
                IconShared = true;
            }
        } else if (application->SmallIcon && !SmallIcon) {
            SmallIcon = static_cast<HICON>(CopyImage(application->SmallIcon, IMAGE_ICON, 0, 0, 0));
            IconShared = false;
        }
        if (SmallIcon)
            SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(SmallIcon));
    }
    if (Actions && Actions->AfterCreate)
        Actions->AfterCreate(Self());
    if (!Handle)
        return false;
    if (FontTool)
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontTool->FontHandle()), FALSE);
    for (size_t i = 0; i < Children.size(); ++i)
        Children[i]->CreateWindowHandle();
    return Handle != nullptr;
}

HWND ControlWindow::WindowHandle() {
    if (Handle)
        return Handle;
    if (WindowGone || IsDestroying)
        return nullptr;
    if (Visible) {
        Visible = false;
        Style &= ~WS_VISIBLE;
        PendingShow = true;
    }
    CreateWindowHandle();
    return Handle;
}

RECT ControlWindow::ClientRect() {
    RECT rect = {0, 0, 0, 0};
    if (HWND window = WindowHandle())
        GetClientRect(window, &rect);
    rect.top += ClientTopOffset;
    rect.bottom -= ClientBottomOffset;
    rect.left += ClientLeftOffset;
    rect.right -= ClientRightOffset;
    return rect;
}

Control* ControlWindow::Invalidate() {
    if (Handle)
        InvalidateRect(Handle, nullptr, TRUE);
    return Self();
}

LRESULT ControlWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = WindowHandle();
    if (!window)
        return 0;
    return SendMessageA(window, message, wParam, lParam);
}

void ControlWindow::Destroy() {
    IsDestroying = true;
    if (Control* form = Parent ? Parent->ParentForm() : nullptr) {
        if (form->FocusedChild == Self())
            form->FocusedChild = nullptr;
    }
    if (Handle)
        ShowWindow(Handle, SW_HIDE);

    ManagedObject::Destroy();

    if (FontTool) {
        FontTool->Release();
        FontTool = nullptr;
    }
    if (BrushTool) {
        BrushTool->Release();
        BrushTool = nullptr;
    }
    if (SmallIcon && !IconShared)
        DestroyIcon(SmallIcon);
    SmallIcon = nullptr;
    if (Handle) {
        HWND window = Handle;
        Handle = nullptr;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        if (!WindowNotOwned) {
            // The rest of the window's life goes to the standard procedure alone, so
            // that it frees its own data.
            WNDPROC last = DefaultProc ? DefaultProc : DefWindowProcA;
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(last));
            DestroyWindow(window);
        }
    }
    WindowGone = true;
    CachedBrush.Reset();
    if (Parent) {
        auto& siblings = Parent->Children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), Self()), siblings.end());
        Parent->UnregisterOwned(Self());
        if (Parent->FocusedChild == Self())
            Parent->FocusedChild = nullptr;
        Parent = nullptr;
    }
    for (Control* child : Children)
        child->Parent = nullptr;
    Children.clear();
    MessageProcs.clear();
    FocusedChild = nullptr;
    Caption.clear();
}

LRESULT ControlWindow::DefaultProcessing(MessageRecord& message) {
    if (DefaultProc)
        return CallWindowProcA(DefaultProc, message.Window, message.Message, message.WParam,
                               message.LParam);
    return DefWindowProcA(message.Window, message.Message, message.WParam, message.LParam);
}

LRESULT ControlWindow::WindowProc(MessageRecord& message) {
    if (message.Window && !Handle && !WindowGone)
        Handle = message.Window;

    LRESULT result = 0;
    Control* const self = Self();
    if (Control* application = ApplicationObject()) {
        if (IsRunLoopRunning() && application != self && application->MessageHook.IsSet() &&
            application->MessageHook.Procedure(application->MessageHook.Context, self, message,
                                               result))
            return result;
    }
    if (MessageHook.IsSet() && MessageHook.Procedure(MessageHook.Context, self, message, result))
        return result;
    if (RunAttachedProcs(self, message, result))
        return result;

    switch (message.Message) {
        case WM_CLOSE: {
            // Read now: the procedures above may have ended the run loop.
            const Control* application = ApplicationObject();
            if (self == application || (!application && IsForm))
                PostQuitMessage(0);
            return DefaultProcessing(message);
        }
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
            SyncBoundsFromWindow(self);
            if (Parent)
                Realign(Parent);
            Realign(self);
            return result;
        }
        case WM_MOVE:
            result = DefaultProcessing(message);
            SyncBoundsFromWindow(self);
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
                return SendMessageA(child, message.Message + ReflectedColourBase, message.WParam,
                                    message.LParam);
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

    if (message.Message >= WM_KEYDOWN && message.Message <= LastKeyMessage) {
        if (KeyboardHandler && KeyboardHandler(self, message, result))
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
