#include "control/MessageLoop.h"

#include <commctrl.h>

#include "control/Control.h"
#include "control/UniqueHandle.h"

namespace {

Control* application = nullptr;
bool running = false;
bool terminated = false;

// comctl32.dll loaded for InitCommonControlsEx; freed when the program ends.
class CommonControlsLibrary {
public:
    HMODULE Get() {
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

}  // namespace

Control* ApplicationObject() {
    return application;
}

void SetApplicationObject(Control* control) {
    application = control;
}

bool IsRunLoopRunning() {
    return running;
}

bool IsTerminated() {
    return terminated;
}

void ResetRunLoopState() {
    running = false;
    terminated = false;
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// ---------------------------------------------------------------------------------
// Run loop

bool ProcessPendingMessages(Control*) {
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

void ProcessAllMessages(Control* application) {
    while (ProcessPendingMessages(application)) {
    }
}

void RunLoop(Control*& mainWindow) {
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

void Terminate(Control*& mainWindow) {
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

void InitCommonControlsOnce(DWORD classes) {
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
