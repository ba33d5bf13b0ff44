#include "ui/kit/property_page.h"

#include "host/host_services.h"

#include <QKeyEvent>

#include <utility>

namespace pfsetup {

PropertyPage::PropertyPage(CPFCoreSetupAPI& store, std::string caption, unsigned helpContextId,
                           QWidget* parent)
    : QWidget(parent), store_(store), caption_(std::move(caption)), helpContextId_(helpContextId) {}

void PropertyPage::EnsureInitialised() {
    if (initDone_)
        return;
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

// Controls leave F1 alone, so it reaches the page from whichever of them has the focus.
void PropertyPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        OnHelp();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PropertyPage::OnHelp() {
    Host().OpenHelp(helpContextId_);
    setFocus();
}

} // namespace pfsetup
