#pragma once
// Drives the setup sheet as a user would: clicks, typing, tab changes; controls are found by
// their ids.
#include "support/fake_host.h"
#include "support/installation.h"
#include "ui/kit/control.h"
#include "ui/kit/grid.h"
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

// Grid cells as a user reaches them: scrolled into view and clicked.
inline void ClickCell(Grid* grid, int row, int col) {
    QTableWidgetItem* cell = grid->item(row, col);
    ASSERT_NE(cell, nullptr) << row << "," << col;
    grid->scrollToItem(cell);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(cell).center());
}

// Clicks the cell, starts editing it (F2) and replaces its text; the user stays in the cell.
inline void TypeInCell(Grid* grid, int row, int col, const std::string& text) {
    ClickCell(grid, row, col);
    QTest::keyClick(grid, Qt::Key_F2);
    auto* edit = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    ASSERT_NE(edit, nullptr) << "no text editor in " << row << "," << col;
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, QString::fromStdString(text));
}

// Clicks the drop-down cell and picks the entry by typing its first letters.
inline void ChooseInCell(Grid* grid, int row, int col, const std::string& entry) {
    ClickCell(grid, row, col);
    QTest::keyClick(grid, Qt::Key_F2);
    auto* combo = qobject_cast<QComboBox*>(grid->indexWidget(grid->currentIndex()));
    ASSERT_NE(combo, nullptr) << "no drop-down list in " << row << "," << col;
    QTest::keyClicks(combo, QString::fromStdString(entry));
}

inline bool IsCurrent(const Grid* grid, int row, int col) {
    int r = -1, c = -1;
    return grid->GetCurrentCell(r, c) && r == row && c == col;
}

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

// The dialog on a project file of its own, in a temporary installation.
class ProjectDriver : public DialogDriver {
protected:
    // Writes the project with `settings` (directive lines) as its settings section and reads
    // the store from it.
    void UseProject(const std::string& settings) {
        project = install.Path("project.cpm");
        WriteFile(project, "START_PFG142\n" + settings + "END_PFG142\n");
        store.PutCPMFileName(project);
        store.PutDefFileName(project);
        ASSERT_EQ(store.ReadSetup(), 1);
    }

    // What a store reading the project file now finds.
    std::unique_ptr<CPFCoreSetupAPI> Reread() const {
        auto fresh = std::make_unique<CPFCoreSetupAPI>();
        fresh->PutDefFileName(project);
        EXPECT_EQ(fresh->ReadSetup(), 1);
        return fresh;
    }

    TempInstallation install;
    std::string project;
};

} // namespace pfsetup::test
