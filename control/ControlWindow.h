#pragma once
// The window of a control: created on first need (the parent's first, then the
// control's own, then its children's), its messages handled by WindowProc, destroyed
// with the object. Operations that need the window create it first; a control whose
// window has been destroyed never gets one again and acts on handle 0.
#include <windows.h>

#include "control/ControlData.h"

struct ControlWindow : public ControlData {
    // Creates the window (and the parent's first, and then every child's, in creation
    // order) if it does not exist yet; carries out a pending show. False when the
    // window cannot be created, or when it was destroyed before.
    virtual bool CreateWindowHandle();
    // Handles one message: hooks, attached procedures newest first, then the control's
    // own handling of close, destroy, size, focus, reflected colour and command
    // messages and keys; everything else goes to default processing.
    virtual LRESULT WindowProc(MessageRecord& message);
    // CallWindowProcA with the default procedure, else DefWindowProcA.
    LRESULT DefaultProcessing(MessageRecord& message);

    // The window handle; a control without a window is made invisible, its window is
    // created and a pending show is noted. 0 when the window cannot exist.
    HWND WindowHandle();
    // GetClientRect shrunk by the client offsets (the window is created first).
    RECT ClientRect();
    Control* Invalidate();
    // Creates the window if necessary, then SendMessageA; 0 without a window.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    // Hides the window, releases the owned objects, fonts, brush and icon, destroys the
    // window (unless it is not owned) and leaves the parent.
    void Destroy() override;
    bool DefersDestruction() const override { return true; }
};
