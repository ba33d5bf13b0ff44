#include "ui/pin_page.h"

#include "ui/kit/control.h"

#include <QFrame>
#include <QVBoxLayout>

using namespace pfsetup;

CPinPP::CPinPP(CPFCoreSetupAPI& store, QWidget* parent)
    : PropertyPage(store, "Pi&n", kHelpContextId, parent) {
    auto* area = WithId(new QFrame(this), kGrid);
    area->setFrameShape(QFrame::StyledPanel);
    area->setMinimumSize(560, 320);
    gridArea_ = area;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gridArea_, 1);
}

void TransferPinPage(CPinPP& page) {
    if (!page.m_bInitialised)
        return;
    // The grid area holds no cells yet, so there is nothing to move.
}
