#include "ui/kit/property_sheet.h"

#include "ui/kit/control.h"
#include "ui/kit/property_page.h"

#include "host/host_services.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>

#include <utility>
#include <vector>

namespace pfsetup {

PropertySheet::PropertySheet(const std::string& caption, QWidget* parent, int selectPage)
    : QDialog(parent), tabs_(new QTabWidget(this)), buttonRow_(new QHBoxLayout),
      selectPage_(selectPage) {
    setWindowTitle(ToQString(caption));
    tabs_->setUsesScrollButtons(false);

    auto* ok = WithId(new QPushButton(QStringLiteral("OK"), this), kIdOk);
    auto* cancel = WithId(new QPushButton(QStringLiteral("Cancel"), this), kIdCancel);
    auto* help = WithId(new QPushButton(QStringLiteral("Help"), this), kIdHelp);
    ok->setDefault(true);
    // Qt's standard button, with its role, text and place at the left of the row.
    auto* defaultsBox = new QDialogButtonBox(QDialogButtonBox::RestoreDefaults, this);
    QPushButton* restore =
        WithId(defaultsBox->button(QDialogButtonBox::RestoreDefaults), kIdRestoreDefaults);
    restore->setEnabled(false);
    // The box would hand Tab back to its button from wherever the focus chain reaches it.
    defaultsBox->setFocusProxy(nullptr);
    buttons_[kIdOk] = ok;
    buttons_[kIdCancel] = cancel;
    buttons_[kIdHelp] = help;
    buttons_[kIdRestoreDefaults] = restore;
    buttonRow_->addWidget(defaultsBox);
    buttonRow_->addStretch(1);
    buttonRow_->addWidget(ok);
    buttonRow_->addWidget(cancel);
    buttonRow_->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttonRow_);

    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { CancelByUser(); });
    connect(help, &QPushButton::clicked, this, [this] { OnHelp(); });
    connect(restore, &QPushButton::clicked, this, [this] { OnRestoreDefaults(); });
    connect(tabs_, &QTabWidget::currentChanged, this, &PropertySheet::OnTabChanged);
    // Controls inside the pages (the grids above all) take Ctrl+PgUp and Ctrl+PgDn as plain
    // page keys unless the window claims them first.
    for (auto [key, step] : {std::pair{Qt::Key_PageDown, 1}, std::pair{Qt::Key_PageUp, -1}}) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | key), this);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] { StepPage(step); });
    }
}

PropertySheet::~PropertySheet() {
    DetachPages();
}

void PropertySheet::AddPage(PropertyPage* page) {
    pages_.push_back(page);
    QSignalBlocker block(tabs_);
    tabs_->addTab(page, ToQString(page->Caption()));
}

PropertyPage* PropertySheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? pages_[static_cast<size_t>(index)].data()
                                                : nullptr;
}

bool PropertySheet::SetActivePage(int index) {
    if (!GetPage(index)) {
        return false;
    }
    if (index == active_) {
        return true;
    }
    if (!created_) {
        selectPage_ = index;
        return true;
    }
    PropertyPage* leaving = GetActivePage();
    if (leaving && !leaving->OnKillActive()) {
        return false;
    }
    ActivatePage(index);
    return true;
}

void PropertySheet::ShowPage(int index) {
    if (!GetPage(index)) {
        return;
    }
    if (!created_) {
        selectPage_ = index;
    } else {
        ActivatePage(index);
    }
}

void PropertySheet::ShowRefusal(int index) {
    ShowPage(index);
    PropertyPage* page = GetPage(index);
    if (page && page->ControlToFix()) {
        page->PointAt(page->ControlToFix());
    }
}

void PropertySheet::SetTitle(const std::string& title) {
    setWindowTitle(ToQString(title));
}

void PropertySheet::EnableTabControl(bool enable) {
    tabsEnabled_ = enable;
    tabs_->tabBar()->setEnabled(enable);
}

QPushButton* PropertySheet::GetButton(int id) const {
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

QPushButton* PropertySheet::AddButton(int id, const std::string& text) {
    auto* button = WithId(new QPushButton(ToQString(text), this), id);
    buttons_[id] = button;
    buttonRow_->insertWidget(buttonRow_->indexOf(GetButton(kIdCancel)), button);
    return button;
}

void PropertySheet::Create() {
    if (created_) {
        return;
    }
    created_ = true;
    OnInitDialog();
    OrderTabs();
    // Focus drawn from the start, as after a key press: the user sees where typing goes.
    setAttribute(Qt::WA_KeyboardFocusChange);
    if (PropertyPage* page = GetActivePage()) {
        page->FocusPage();
    }
}

void PropertySheet::OrderTabs() {
    std::vector<QWidget*> chain{tabs_->tabBar()};
    for (PropertyPage* page : pages_) {
        if (!page) {
            continue;
        }
        // A page's controls follow it in the focus chain, in the order the page gave them.
        for (QWidget* w = page->nextInFocusChain(); w != page && page->isAncestorOf(w);
             w = w->nextInFocusChain()) {
            if (w->focusPolicy() != Qt::NoFocus) { // radio buttons take Tab only when checked
                chain.push_back(w);
            }
        }
    }
    for (int i = 0; i < buttonRow_->count(); ++i) {
        QWidget* widget = buttonRow_->itemAt(i)->widget();
        if (auto* box = qobject_cast<QDialogButtonBox*>(widget)) {
            for (QAbstractButton* inBox : box->buttons()) {
                chain.push_back(inBox);
            }
        } else if (widget) {
            chain.push_back(widget);
        }
    }
    for (size_t i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

int PropertySheet::DoModal() {
    Create();
    return exec();
}

void PropertySheet::EndDialog(int result) {
    done(result);
}

void PropertySheet::OnOK() {
    PropertyPage* page = GetActivePage();
    if (page && !page->OnKillActive()) {
        return;
    }
    for (PropertyPage* p : pages_) {
        if (p && p->m_bInitialised) {
            p->OnOK();
        }
    }
    EndDialog(kIdOk);
}

void PropertySheet::OnRestoreDefaults() {
    PropertyPage* page = GetActivePage();
    if (!page || !page->CanRestoreDefaults()) {
        return;
    }
    page->OnRestoreDefaults();
}

bool PropertySheet::IsModified() const {
    for (const PropertyPage* page : pages_) {
        if (page && page->IsModified()) {
            return true;
        }
    }
    return false;
}

void PropertySheet::CancelByUser() {
    if (IsModified() && Host().ShowMessage(kDiscardQuestion, MessageIcon::Question,
                                           MessageButtons::YesNoDefaultNo) != MessageResult::Yes) {
        return;
    }
    OnCancel();
}

void PropertySheet::OnCancel() {
    for (PropertyPage* p : pages_) {
        if (p && p->m_bInitialised) {
            p->OnCancel();
        }
    }
    EndDialog(kIdCancel);
}

void PropertySheet::OnHelp() {
    if (PropertyPage* page = GetActivePage()) {
        page->OnHelp();
    }
}

bool PropertySheet::OnInitDialog() {
    int first = GetPage(selectPage_) ? selectPage_ : 0;
    if (GetPage(first)) {
        ActivatePage(first);
    }
    return true;
}

void PropertySheet::DetachPages() {
    QSignalBlocker block(tabs_);
    disconnect(tabs_, nullptr, this, nullptr);
    while (tabs_->count() > 0) {
        tabs_->removeTab(0);
    }
    for (PropertyPage* page : pages_) {
        if (page) {
            page->setParent(nullptr);
        }
    }
    pages_.clear();
    active_ = -1;
}

void PropertySheet::showEvent(QShowEvent* event) {
    Create();
    QDialog::showEvent(event);
}

void PropertySheet::keyPressEvent(QKeyEvent* event) {
    // Controls leave F1 alone, so it arrives here from wherever the focus is.
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        const QPointer<QWidget> focused = QApplication::focusWidget();
        OnHelp();
        if (focused) { // F1 leaves the focus where it was
            focused->setFocus(Qt::OtherFocusReason);
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PropertySheet::reject() {
    CancelByUser();
}

void PropertySheet::StepPage(int step) {
    const int count = GetPageCount();
    if (!tabsEnabled_ || count < 2 || active_ < 0) {
        return;
    }
    SetActivePage((active_ + step + count) % count);
}

// The tab widget has already switched when it reports the change: switch back, ask the page
// being left, and only then go on, so a refusal's message is shown over the page it concerns.
void PropertySheet::OnTabChanged(int index) {
    if (switching_) {
        return;
    }
    if (!created_ || active_ < 0) {
        selectPage_ = index;
        return;
    }
    {
        QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(active_);
    }
    if (!tabsEnabled_) {
        return;
    }
    SetActivePage(index);
}

void PropertySheet::ActivatePage(int index) {
    PropertyPage* page = GetPage(index);
    if (!page) {
        return;
    }
    active_ = index;
    {
        QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(index);
    }
    page->EnsureInitialised();
    page->OnSetActive();
    GetButton(kIdRestoreDefaults)->setEnabled(page->CanRestoreDefaults());
}

} // namespace pfsetup
