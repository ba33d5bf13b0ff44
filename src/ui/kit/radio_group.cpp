#include "ui/kit/radio_group.h"

#include <QRadioButton>

namespace pfsetup {

RadioGroup::RadioGroup(QObject* owner) : group_(new QButtonGroup(owner)) {
    group_->setExclusive(true);
}

void RadioGroup::Add(QRadioButton* button) {
    group_->addButton(button, Count());
    buttons_.push_back(button);
}

QRadioButton* RadioGroup::Button(int index) const {
    return index >= 0 && index < Count() ? buttons_[static_cast<size_t>(index)] : nullptr;
}

int RadioGroup::Index() const {
    for (int i = 0; i < Count(); ++i)
        if (buttons_[static_cast<size_t>(i)]->isChecked())
            return i;
    return -1;
}

void RadioGroup::SetIndex(int index) {
    if (QRadioButton* button = Button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group refuses to uncheck its last checked button.
    group_->setExclusive(false);
    for (QRadioButton* b : buttons_)
        b->setChecked(false);
    group_->setExclusive(true);
}

} // namespace pfsetup
