#include "ui/kit/property_page.h"

#include "host/host_services.h"

#include <QLineEdit>

#include <utility>

namespace pfsetup {

PropertyPage::PropertyPage(CPFCoreSetupAPI& store, std::string caption, unsigned helpContextId,
                           QWidget* parent)
    : QWidget(parent), store_(store), caption_(std::move(caption)), helpContextId_(helpContextId) {}

void PropertyPage::EnsureInitialised() {
    if (initDone_) {
        return;
    }
    initDone_ = true;
    OnInitDialog();
}

bool PropertyPage::UpdateData(bool saveAndValidate) {
    return DoDataExchange(saveAndValidate);
}

bool PropertyPage::OnInitDialog() {
    m_bInitialised = 1;
    return true;
}

bool PropertyPage::OnKillActive() {
    return UpdateData(true);
}

void PropertyPage::PointAt(QWidget* control) {
    toFix_ = control;
    if (!control) {
        return;
    }
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->selectAll();
    }
}

void PropertyPage::FocusPage() {
    QWidget* control = focusWidget();
    // The first control of the page in the order Tab visits the dialog.
    for (QWidget* w = window()->nextInFocusChain(); !control && w != window();
         w = w->nextInFocusChain()) {
        if (isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            w->isVisibleTo(this)) {
            control = w;
        }
    }
    if (control) {
        control->setFocus(Qt::TabFocusReason);
    }
}

void PropertyPage::OnHelp() {
    Host().OpenHelp(helpContextId_);
    FocusPage();
}

} // namespace pfsetup
