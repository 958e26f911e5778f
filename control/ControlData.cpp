#include "control/ControlData.h"

#include "control/Control.h"

Control* ControlData::Self() {
    return static_cast<Control*>(this);
}

const Control* ControlData::Self() const {
    return static_cast<const Control*>(this);
}
