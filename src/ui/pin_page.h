#pragma once
// The Pin page: the pin-type load table (position and four loads per pin type) in a grid.
// The grid is the page's only state.

#include "ui/kit/property_page.h"

class CPinPP : public pfsetup::PropertyPage {
    Q_OBJECT
public:
    static constexpr unsigned kHelpContextId = 0x20212;
    enum ControlId : int { kGrid = 1017 };

    explicit CPinPP(CPFCoreSetupAPI& store, QWidget* parent = nullptr);

private:
    QWidget* gridArea_;
};

// Grid -> store; nothing when the page was never shown.
void TransferPinPage(CPinPP& page);
