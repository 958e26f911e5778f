#include "control/Control.h"

#include <algorithm>

Control::Control() = default;

Control::~Control() = default;

void Control::Init() {
    ClassStyle = CS_OWNDC;
    Style = FormStyle;
    ExStyle = WS_EX_CONTROLPARENT;
    Visible = true;
    Enabled = true;
    HasBorder = true;
    Ctl3DChildren = true;
    TextColour = ColourWindowText;
    Colour = ColourBtnFace;
    Margin = 2;
    Actions = &FormActions();
}

void Control::Construct(Control* parent) {
    Init();
    if (parent)
        Colour = parent->Colour;
    SetParentControl(parent);
}

void Control::SetParentControl(Control* parent) {
    if (parent == Parent)
        return;
    if (Parent) {
        auto& siblings = Parent->Children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        Parent->UnregisterOwned(this);
        if (Parent->FocusedChild == this)
            Parent->FocusedChild = nullptr;
    }
    Parent = parent;
    if (!parent)
        return;
    parent->Children.push_back(this);
    parent->RegisterOwned(this);
    if (Handle && parent->Handle)
        ::SetParent(Handle, parent->Handle);
}

Control* Control::ParentForm() {
    for (Control* control = this; control; control = control->Parent) {
        if (control->IsForm)
            return control;
    }
    return nullptr;
}

void Control::SetFocusedChild(Control* child) {
    FocusedChild = child;
}

Control* Control::AttachMessageProc(MessageProc procedure, void* argument) {
    if (procedure && !HasMessageProc(procedure))
        MessageProcs.push_back(AttachedProc{procedure, argument});
    return this;
}

Control* Control::DetachMessageProc(MessageProc procedure) {
    MessageProcs.erase(
        std::remove_if(MessageProcs.begin(), MessageProcs.end(),
                       [procedure](const AttachedProc& p) { return p.Procedure == procedure; }),
        MessageProcs.end());
    return this;
}

bool Control::HasMessageProc(MessageProc procedure) const {
    return std::any_of(MessageProcs.begin(), MessageProcs.end(),
                       [procedure](const AttachedProc& p) { return p.Procedure == procedure; });
}
