// What every skinned control offers whatever its configuration: being shown or hidden.
#pragma once

class CSkinControlBase {
public:
    virtual ~CSkinControlBase() = default;
    // Shows or hides the control's window.
    virtual void show(bool visible) = 0;
};
