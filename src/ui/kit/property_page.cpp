#include "ui/kit/property_page.h"

#include "host/host_services.h"
#include "ui/kit/grid.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

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
    WatchUserEdits();
}

// Only the signals a person's action emits, so loading values into the controls is no edit.
void PropertyPage::WatchUserEdits() {
    auto mark = [this] { modified_ = true; };
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textEdited, this, mark);
    for (QComboBox* combo : findChildren<QComboBox*>())
        connect(combo, &QComboBox::activated, this, mark);
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        connect(button, &QAbstractButton::clicked, this, mark);
    for (Grid* grid : findChildren<Grid*>())
        connect(grid, &Grid::UserEdited, this, mark);
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
    if (!control)
        return;
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
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
