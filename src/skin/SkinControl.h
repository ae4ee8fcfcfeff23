// A skinned control with its configuration record, read from one skin section.
#pragma once

#include "skin/SkinControlBase.h"

template <class Config> class CSkinControl : public CSkinControlBase {
public:
    const Config& config() const { return m_config; }
    // Moves and sizes the control's window as the configuration says.
    virtual void place(const Config& config) = 0;

protected:
    Config m_config;
};
