#include "ui/properties_page.h"

#include "ui/kit/control.h"

#include <QFrame>
#include <QVBoxLayout>

using namespace pfsetup;

CPropertyPP::CPropertyPP(CPFCoreSetupAPI& store, QWidget* parent)
    : PropertyPage(store, "Proper&ty", kHelpContextId, parent) {
    auto* area = WithId(new QFrame(this), kGrid);
    area->setFrameShape(QFrame::StyledPanel);
    area->setMinimumSize(560, 320);
    gridArea_ = area;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gridArea_, 1);
}

void CPropertyPP::OnOK() {
    CommitEditRow();
    PropertyPage::OnOK();
}
