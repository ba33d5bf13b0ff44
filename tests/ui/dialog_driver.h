#pragma once
// Drives the setup sheet as a user would: clicks, typing, tab changes; controls are found by
// their ids.
#include "support/fake_host.h"
#include "ui/kit/control.h"
#include "ui/setup_sheet.h"

#include "setup/setup_store.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace pfsetup::test {

class DialogDriver : public ::testing::Test {
protected:
    // The sheet on this fixture's store, shown on page `first`.
    void Open(int first, int mode = 0) {
        sheet = std::make_unique<CSetupPropSheet>("Setup", nullptr, first, store);
        sheet->AddPages(mode);
        sheet->show();
        active = sheet.get();
    }

    // Runs `user` on the modal setup sheet once it is up; `run` starts the dialog and returns
    // when it ends. Should `user` leave the dialog open, it is cancelled after a while so a
    // failing test cannot hang.
    template <class Run, class User>
    auto Drive(Run run, User user) {
        QTimer::singleShot(0, [this, user] {
            active = qobject_cast<CSetupPropSheet*>(QApplication::activeModalWidget());
            if (!active) {
                ADD_FAILURE() << "no modal setup sheet";
                return;
            }
            user(*active);
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "the dialog was left open";
                modal->close();
            }
        });
        guard.start(10000);
        return run();
    }

    template <class T = QWidget>
    T* Control(int id) {
        T* control = FindControl<T>(active, id);
        EXPECT_NE(control, nullptr) << "no control " << id;
        return control;
    }

    // Near the left edge: a radio button or check box reacts on its indicator and caption only.
    void Click(int id) {
        auto* button = Control<QAbstractButton>(id);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    void Type(int id, const std::string& text) {
        auto* edit = Control<QLineEdit>(id);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, QString::fromStdString(text));
    }

    // Keyboard search in a drop-down list, as typing the first letters does.
    void Choose(int id, const std::string& entry) {
        auto* combo = Control<QComboBox>(id);
        combo->setFocus();
        QTest::keyClicks(combo, QString::fromStdString(entry));
    }

    void ClickTab(int index) {
        QTabBar* bar = active->GetTabControl()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    void ClickButton(int id) { QTest::mouseClick(active->GetButton(id), Qt::LeftButton); }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const RecordedMessage& m : host.messages)
            texts.push_back(m.text);
        return texts;
    }

    FakeHost host;
    CPFCoreSetupAPI store;
    std::unique_ptr<CSetupPropSheet> sheet;
    CSetupPropSheet* active = nullptr; // the sheet the helpers work on
};

} // namespace pfsetup::test
