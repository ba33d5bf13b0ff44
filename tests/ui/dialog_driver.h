#pragma once
// Drives the setup sheet as a user would: clicks, typing, tab changes; controls are found by
// their ids.
#include "support/fake_host.h"
#include "support/installation.h"
#include "ui/kit/control.h"
#include "ui/kit/grid.h"
#include "ui/setup_dialogs.h"
#include "ui/setup_sheet.h"

#include "persist/persist_fixture.h"
#include "persist/setup_main.h"
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

#include <cstring>
#include <initializer_list>
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

// Clicks the cell and starts editing it (F2): the editor the grid opened, null when it has none
// of that kind.
template <class Editor = QLineEdit>
Editor* EditCell(Grid* grid, int row, int col) {
    ClickCell(grid, row, col);
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = qobject_cast<Editor*>(grid->indexWidget(grid->currentIndex()));
    EXPECT_NE(editor, nullptr) << "no such editor in " << row << "," << col;
    return editor;
}

// Replaces the text as a user does: select all, delete, type.
inline void Retype(QLineEdit* edit, const std::string& text) {
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, QString::fromStdString(text));
}

// Replaces the cell's text; the user stays in the cell.
inline void TypeInCell(Grid* grid, int row, int col, const std::string& text) {
    Retype(EditCell(grid, row, col), text);
}

// Picks the entry of a drop-down cell by typing its first letters.
inline void ChooseInCell(Grid* grid, int row, int col, const std::string& entry) {
    if (auto* combo = EditCell<QComboBox>(grid, row, col))
        QTest::keyClicks(combo, QString::fromStdString(entry));
}

inline void ClickTab(QTabWidget* tabs, int index) {
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(index).center());
}

inline bool IsCurrent(const Grid* grid, int row, int col) {
    int r = -1, c = -1;
    return grid->GetCurrentCell(r, c) && r == row && c == col;
}

// Every message shown must have been looked at (ExpectShown, or read and cleared) by the end of
// a test.
class DialogDriver : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{}) << "messages no step expected";
    }

    // The sheet on this fixture's store, shown on page `first`.
    void Open(int first, int mode = 0) {
        sheet = std::make_unique<CSetupPropSheet>("Setup", nullptr, first, store);
        sheet->AddPages(mode);
        sheet->show();
        active = sheet.get();
        Activate();
    }

    // The sheet as the window the keyboard works in.
    void Activate() {
        active->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(active));
    }

    // Runs `user` on the modal setup sheet once it is up; `run` starts the dialog and returns
    // when it ends. Should `user` leave the dialog open, it is cancelled after a while so a
    // failing test cannot hang.
    template <class Run, class User>
    auto Drive(Run run, User user) {
        QTimer::singleShot(0, [this, user] {
            active = qobject_cast<CSetupPropSheet*>(QApplication::activeModalWidget());
            if (active) {
                Activate();
                user(*active);
            } else
                ADD_FAILURE() << "no modal setup sheet";
        });
        QObject guard; // ends the timer with this call
        QTimer::singleShot(10000, &guard, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "the dialog was left open: " << modal->metaObject()->className()
                              << " " << modal->windowTitle().toStdString();
                host.answers.clear(); // a question on closing gets Yes
                modal->close();
            }
        });
        return run();
    }

    template <class T = QWidget>
    T* Control(int id) {
        T* control = FindControl<T>(active, id);
        EXPECT_NE(control, nullptr) << "no control " << id;
        return control;
    }

    // Per control: a checked button 'x', any other 'o'; upper case when disabled.
    std::string States(std::initializer_list<int> ids) {
        std::string states;
        for (int id : ids) {
            auto* button = FindControl<QAbstractButton>(active, id);
            const bool checked = button && button->isChecked();
            states += Control(id)->isEnabled() ? (checked ? 'x' : 'o') : (checked ? 'X' : 'O');
        }
        return states;
    }

    // Near the left edge: a radio button or check box reacts on its indicator and caption only.
    void Click(int id) {
        auto* button = Control<QAbstractButton>(id);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    void Type(int id, const std::string& text) { Retype(Control<QLineEdit>(id), text); }

    // Keyboard search in a drop-down list, as typing the first letters does.
    void Choose(int id, const std::string& entry) {
        auto* combo = Control<QComboBox>(id);
        combo->setFocus();
        QTest::keyClicks(combo, QString::fromStdString(entry));
    }

    void ClickTab(int index) { test::ClickTab(active->GetTabControl(), index); }

    void ClickButton(int id) { QTest::mouseClick(active->GetButton(id), Qt::LeftButton); }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const RecordedMessage& m : host.messages)
            texts.push_back(m.text);
        return texts;
    }

    // The messages shown since the last call: `message` alone with `icon`, or none for nullptr.
    // The dialog's own message may be followed, on lines of their own, by what `set` says.
    void ExpectShown(const char* message, MessageIcon icon, const std::string& step) {
        const auto expected =
            message ? std::vector<std::string>{message} : std::vector<std::string>{};
        std::vector<std::string> shown = MessageTexts();
        for (std::string& text : shown)
            if (message && text.rfind(message, 0) == 0 && text[std::strlen(message)] == '\n')
                text.resize(std::strlen(message));
        EXPECT_EQ(shown, expected) << step;
        for (const RecordedMessage& m : host.messages)
            EXPECT_EQ(m.icon, icon) << step;
        host.messages.clear();
    }

    FakeHost host;
    CPFCoreSetupAPI store;
    std::unique_ptr<CSetupPropSheet> sheet;
    CSetupPropSheet* active = nullptr; // the sheet the helpers work on
};

// The dialog on a project file of its own, in a temporary installation.
class ProjectDriver : public DialogDriver {
protected:
    // Writes the project file and reads the store from it.
    void UseProjectText(const std::string& text) {
        project = install.Path("project.cpm");
        WriteFile(project, text);
        ASSERT_EQ(ReadProject(store, project), 1);
    }
    // A project with `settings` (directive lines) as its settings section.
    void UseProject(const std::string& settings) {
        UseProjectText("START_PFG142\n" + settings + "END_PFG142\n");
    }

    // What a store reading the project file now finds.
    std::unique_ptr<CPFCoreSetupAPI> Reread() const {
        auto fresh = std::make_unique<CPFCoreSetupAPI>();
        EXPECT_EQ(ReadProject(*fresh, project), 1);
        return fresh;
    }

    // The module's entry object as a host sets it up, on `file`, with these dialogs.
    CPFSetupMain& EntryObject(const std::string& file) {
        InstallSetupDialogs();
        SetHostServices(&host);
        Pfsetup_initialize();
        Pfsetup_main()->InitialiseSetupForLibFlow(file);
        return *Pfsetup_main();
    }

    TempInstallation install;
    std::string project;
};

} // namespace pfsetup::test
