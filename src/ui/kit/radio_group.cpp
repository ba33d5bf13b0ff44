#include "ui/kit/radio_group.h"

#include <QRadioButton>

#include <algorithm>

namespace pfsetup {

RadioGroup::RadioGroup(QObject* owner) : group_(new QButtonGroup(owner)) {
    group_->setExclusive(true);
    QObject::connect(group_, &QButtonGroup::buttonToggled, group_, [this] { FollowSelection(); });
}

void RadioGroup::Add(QRadioButton* button) {
    group_->addButton(button, Count());
    buttons_.push_back(button);
    FollowSelection();
}

void RadioGroup::FollowSelection() {
    const int stop = std::max(Index(), 0);
    for (int i = 0; i < Count(); ++i) {
        Button(i)->setFocusPolicy(i == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

QRadioButton* RadioGroup::Button(int index) const {
    return index >= 0 && index < Count() ? buttons_[static_cast<size_t>(index)] : nullptr;
}

int RadioGroup::Index() const {
    for (int i = 0; i < Count(); ++i) {
        if (buttons_[static_cast<size_t>(i)]->isChecked()) {
            return i;
        }
    }
    return -1;
}

void RadioGroup::SetIndex(int index) {
    if (QRadioButton* button = Button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group refuses to uncheck its last checked button.
    group_->setExclusive(false);
    for (QRadioButton* b : buttons_) {
        b->setChecked(false);
    }
    group_->setExclusive(true);
    FollowSelection();
}

} // namespace pfsetup
