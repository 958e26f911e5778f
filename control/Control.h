#pragma once
// The control object: one per window (form, label, panel, gradient panel, group box,
// owner-drawn button, radio button, edit, combo box, list view). A control keeps its
// settings before its window exists, creates the window on demand (ControlWindow.h),
// keeps its children, receives every message of its window (WindowProc, dispatched by
// control/WindowDispatch.h) and carries its event slots. Its fields are in
// ControlData.h; its operations come in layers, one concern per header (see there).
// Including this header brings the whole object model: kinds and constructors, layout,
// window dispatch and the run loop.
//
// Lifetime: a parent owns its children (RegisterOwned); releasing the main form
// releases the whole tree, children first. A control whose window has been destroyed
// stays a valid object until its owner releases it; its window is never created again
// and operations that need the window do nothing (handle 0).
#include <windows.h>

#include "control/ControlEvents.h"

struct Control : public ControlEvents {
    Control();
    ~Control() override;

    // Sets the defaults: class style CS_OWNDC, the form's window style, extended style
    // WS_EX_CONTROLPARENT, visible, enabled, margin 2, colours.
    void Init() override;
    // Init, the parent's background colour, then SetParentControl.
    void Construct(Control* parent);
    // Leaves the old parent's children and owned lists and joins the new parent's; an
    // existing window is re-parented.
    void SetParentControl(Control* parent);

    // The nearest form among this control and its parents (nullptr if none).
    Control* ParentForm();
    // Makes child the form's focused child (leave handling of the previous one).
    void SetFocusedChild(Control* child);

    // Adds a message procedure unless the same procedure is already attached.
    Control* AttachMessageProc(MessageProc procedure, void* argument = nullptr);
    Control* DetachMessageProc(MessageProc procedure);
    bool HasMessageProc(MessageProc procedure) const;
};

#include "control/ControlKinds.h"
#include "control/MessageLoop.h"
#include "control/WindowDispatch.h"
