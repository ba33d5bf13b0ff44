#pragma once
// Controls keep the numeric ids of the dialog templates: each control's objectName is its id
// in decimal ("1001"), so code and tests find a control by the same number. Controls without
// an id (plain labels, group boxes) carry no such name.
//
// Texts cross between the store and the widgets as UTF-8 byte strings.

#include <QLabel>
#include <QString>
#include <QWidget>

#include <initializer_list>
#include <string>

namespace pfsetup {

inline QString ControlName(int id) {
    return QString::number(id);
}

// Gives `control` its id and returns it, so controls can be made and named in one expression.
template <class T>
T* WithId(T* control, int id) {
    control->setObjectName(ControlName(id));
    return control;
}

// The control with this id inside `root` (any depth), or null.
template <class T = QWidget>
T* FindControl(const QWidget* root, int id) {
    return root ? root->findChild<T*>(ControlName(id)) : nullptr;
}

// A static text. With a buddy, "&" marks the mnemonic that moves the focus to the buddy, as a
// label in front of a control did in the original templates.
inline QLabel* MakeLabel(const QString& caption, QWidget* parent, QWidget* buddy = nullptr) {
    auto* label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    if (buddy) {
        label->setBuddy(buddy);
    }
    return label;
}

// Tab visits the controls in the order given (the order they are drawn in), whatever order
// they were made in.
inline void SetTabChain(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
}

inline QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace pfsetup
