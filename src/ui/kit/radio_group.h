#pragma once
// A run of radio buttons exchanged as one index, the position of the selected button in the
// run (-1 for none), as the original framework's radio exchange did. Unlike a plain exclusive
// QButtonGroup it can show no selection, which a stored value outside the run needs. Tab
// enters the run at its selected button (the first when none is), arrows move within it.

#include <QButtonGroup>

#include <vector>

class QAbstractButton;
class QRadioButton;

namespace pfsetup {

class RadioGroup {
public:
    explicit RadioGroup(QObject* owner);

    // Appends a button; its position in the run is its index.
    void Add(QRadioButton* button);
    int Count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* Button(int index) const;

    // -1 when no button is selected.
    int Index() const;
    // Selects the button at `index`; an index outside the run clears the whole run.
    void SetIndex(int index);

private:
    // Only the selected button is a tab stop.
    void FollowSelection();

    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
};

} // namespace pfsetup
