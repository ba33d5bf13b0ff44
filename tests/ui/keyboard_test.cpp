// The setup dialog by keyboard alone: where Tab goes, switching pages, both grids, Escape and
// Cancel, and where a refusal leaves the focus; then the store and the file.
#include "dialog_driver.h"

#include <QAbstractItemView>

#include <functional>
#include <tuple>

namespace pfsetup::test {
namespace {

// The focused control by its id ("tabs" for the tab bar); for a grid, its current cell as
// id@row,col.
std::string Focused() {
    QWidget* w = QApplication::focusWidget();
    if (!w)
        return "none";
    if (qobject_cast<QTabBar*>(w))
        return "tabs";
    for (QWidget* p = w; p; p = p->parentWidget()) {
        if (auto* grid = qobject_cast<Grid*>(p)) {
            int row = 0, col = 0;
            grid->GetCurrentCell(row, col);
            return grid->objectName().toStdString() + "@" + std::to_string(row) + "," +
                   std::to_string(col);
        }
    }
    return w->objectName().toStdString();
}

// Presses the key on whatever has the focus, then lets the dialog handle what the key set off.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    QApplication::processEvents();
}

// Types the text into whatever has the focus, key by key: the first key may open an editor.
void Write(const std::string& text) {
    for (char c : text)
        QTest::keyClicks(QApplication::focusWidget(), QString(QLatin1Char(c)));
}

class Keyboard : public ProjectDriver {
protected:
    void SetUp() override { UseProject("Prop_TOLERANCE '1,5%,Yes,Value,Left'\n"); }

    // Presses the key until the focus is back on the tab bar (at most 40 times), noting where
    // it went.
    std::string Path(Qt::Key key) {
        std::string path;
        for (int i = 0; i < 40; ++i) {
            Press(key);
            const std::string at = Focused();
            if (at == "tabs")
                break;
            path += (path.empty() ? "" : " ") + at;
        }
        return path;
    }
    void FocusTabs() { active->GetTabControl()->tabBar()->setFocus(Qt::OtherFocusReason); }
};

TEST_F(Keyboard, FocusStartsOnTheFirstFieldAndTabFollowsThePageThenTheButtons) {
    // The page, the mode and where Tab goes from the tab bar until it is back there.
    const std::tuple<int, int, const char*> cases[] = {
        {0, 0,
         "1016@1,1 1016@1,2 1016@1,4 1016@1,5 1016@2,1 1016@2,2 1016@2,4 1016@2,5 1027 1020 "
         "1021 1022 1023 1065 1066 1067 210 1 2 9"},
        {2, 0, "1000 1001 1007 1005 1002 1010 1008 1011 1009 1031 1068 210 1 2 9"},
        {3, 0, "1034 1035 1037 1060 1062 1064 210 1 2 9"}, // a choice by its chosen button
        {4, 0, "1044 1051 1047 210 1 2 9"},
        {2, 1, "1000 1001 1007 1005 1002 1010 1008 1011 1009 1031 1068 210 200 2 9"},
    };
    const std::string first[] = {"1016@1,1", "1000", "1034", "1044", "1000"};
    const unsigned help[] = {0x20213, 0x20211, 0x20214, 0x20215, 0x20211};
    int i = 0;
    for (const auto& [page, mode, path] : cases) {
        Open(page, mode);
        // The focus starts, drawn, on the first field; F1 there and on the tab bar opens the
        // page's help.
        EXPECT_EQ(Focused(), first[i]);
        EXPECT_TRUE(active->testAttribute(Qt::WA_KeyboardFocusChange));
        host.helpRequests.clear();
        Press(Qt::Key_F1);
        FocusTabs();
        Press(Qt::Key_F1);
        EXPECT_EQ(host.helpRequests, std::vector<unsigned>(2, help[i++]));
        EXPECT_EQ(Path(Qt::Key_Tab), path) << page << " " << mode;
    }
    FocusTabs(); // and back the same way
    EXPECT_EQ(Path(Qt::Key_Backtab), "9 2 200 210 1068 1031 1009 1011 1008 1010 1002 1005 1007 "
                                     "1001 1000");
}

TEST_F(Keyboard, CtrlPageKeysSwitchPages) {
    Open(CSetupPropSheet::kSymbolPage);
    Control(CSymbolPP::kGridSize)->setFocus();
    std::string pages;
    auto step = [&](Qt::Key key) {
        Press(key, Qt::ControlModifier);
        pages += std::to_string(active->GetActiveIndex());
    };
    for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp,
                        Qt::Key_PageUp, Qt::Key_PageUp, Qt::Key_PageUp})
        step(key);
    Control(CPinPP::kGrid)->setFocus(); // a grid has page keys of its own
    step(Qt::Key_PageUp);
    EXPECT_EQ(pages, "34043210");
}

// Leaving a page with a value it refuses, from the tab bar by Ctrl+PgDn or an arrow: the user
// stays on the page, the focus on the field or cell to fix.
TEST_F(Keyboard, ARefusedSwitchPointsAtTheFieldToFix) {
    const std::tuple<int, std::function<void()>, const char*> cases[] = {
        {CSetupPropSheet::kSymbolPage, [this] { Type(CSymbolPP::kGridSize, "abc"); }, "1001"},
        {CSetupPropSheet::kSymbolPage, [this] { Type(CSymbolPP::kPinSpacingTopBottom, "2x"); },
         "1011"},
        {CSetupPropSheet::kInterpretationPage,
         [this] { Click(CPinNameInterpretationPP::kNumAlphaNum_G_BN); }, "1051"},
        {CSetupPropSheet::kPropertyPage,
         [this] {
             TypeInCell(Control<Grid>(CPropertyPP::kGrid), 1, CPropertyGridWnd::kValue, "it's");
         },
         "1016@1,2"},
        {CSetupPropSheet::kPinPage,
         [this] { TypeInCell(Control<Grid>(CPinPP::kGrid), 3, CPinGridWnd::kIil, "0.01"); },
         "1017@3,2"},
    };
    for (const auto& [page, refuse, fix] : cases) {
        Open(page);
        refuse();
        FocusTabs();
        if (page == CSetupPropSheet::kPinPage)
            Press(Qt::Key_Left);
        else
            Press(Qt::Key_PageDown, Qt::ControlModifier);
        EXPECT_EQ(active->GetActiveIndex(), page) << fix;
        EXPECT_EQ(Focused(), fix);
        EXPECT_EQ(host.messages.size(), 1u) << fix;
        host.messages.clear();
    }
}

// The Pin grid: a current cell as soon as Tab reaches it, arrows, F2, typing, Alt+Down, and
// Tab out at either end.
TEST_F(Keyboard, ThePinGridWorksByKeyboard) {
    using Col = CPinGridWnd::Column;
    Open(CSetupPropSheet::kPinPage);
    FocusTabs();
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focused(), "1017@2,1");
    Press(Qt::Key_Backtab);
    EXPECT_EQ(Focused(), "tabs");
    Press(Qt::Key_Tab);
    Press(Qt::Key_Down);
    Press(Qt::Key_Right);
    EXPECT_EQ(Focused(), "1017@3,2");
    Write("-0.5");      // typing replaces the load
    Press(Qt::Key_Tab); // on to edit the next cell
    Press(Qt::Key_Escape);
    Press(Qt::Key_F2);
    Press(Qt::Key_A, Qt::ControlModifier);
    Write("+0.2");
    Press(Qt::Key_Return);
    EXPECT_EQ(Focused(), "1017@3,3");
    Press(Qt::Key_Left);
    Press(Qt::Key_Left);
    Press(Qt::Key_Down, Qt::AltModifier);
    Grid* grid = Control<Grid>(CPinPP::kGrid);
    auto* combo = qobject_cast<QComboBox*>(grid->indexWidget(grid->currentIndex()));
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->view()->isVisible());
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    EXPECT_EQ(grid->GetCellText(3, Col::kPosition), "Top");

    grid->SetCurrentCell(14, Col::kPosition); // NC: its loads are grey
    grid->setFocus();
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focused(), "210");
    ClickButton(PropertySheet::kIdOk);
    ASSERT_EQ(store.SetCurrentPinByValue("TS"), 1);
    EXPECT_EQ(Get(store, &Store::GetDefIil) + " " + Get(store, &Store::GetDefIih) + " " +
                  Get(store, &Store::GetDefPinLocation),
              "-0.5 +0.2 Top");
}

// The Property grid: Tab visits the rows in use and one blank row, Shift+Tab leaves it at the
// first cell, Add puts the cursor into the new row, the Delete key deletes, and a row with a
// value but no name is refused.
TEST_F(Keyboard, ThePropertyGridWorksByKeyboard) {
    using Col = CPropertyGridWnd::Column;
    Open(CSetupPropSheet::kPropertyPage);
    Grid* grid = Control<Grid>(CPropertyPP::kGrid);
    grid->setFocus();
    EXPECT_EQ(Focused(), "1016@1,1");
    Press(Qt::Key_Backtab);
    EXPECT_EQ(Focused(), "tabs");
    EXPECT_TRUE(grid->selectedItems().isEmpty()); // the highlight goes with the focus

    Control(CPropertyPP::kAdd)->setFocus();
    Press(Qt::Key_Space);
    EXPECT_EQ(Focused(), "1016@2,1");
    Write("vendor");
    Press(Qt::Key_Tab);
    Write("ACME");
    Press(Qt::Key_Tab);
    Press(Qt::Key_Escape); // leaves the cell's editor, not the dialog
    EXPECT_TRUE(active->isVisible());
    EXPECT_EQ(Focused(), "1016@2,4");
    Press(Qt::Key_Down); // leaving the row stores it
    EXPECT_EQ(Get(store, &Store::GetPropertyValue), "ACME");
    ASSERT_EQ(store.SetCurrentPropertyByName("VENDOR"), 1);

    Press(Qt::Key_Left); // a value without a name
    EXPECT_EQ(Focused(), "1016@3,2");
    Write("orphan");
    Press(Qt::Key_Return);
    Press(Qt::Key_Down);
    ExpectShown("ERROR:Null string not allowed in property name field", MessageIcon::Exclamation,
                "no name");
    EXPECT_EQ(Focused(), "1016@3,1");
    Press(Qt::Key_Escape); // drops the row not yet stored, and goes no further
    EXPECT_TRUE(active->isVisible());
    EXPECT_EQ(grid->GetCellText(3, Col::kValue), "");
    Write("tolerance"); // a name in use
    Press(Qt::Key_Return);
    Press(Qt::Key_Up);
    ExpectShown("Duplicate Property", MessageIcon::None, "in use");
    EXPECT_EQ(Focused(), "1016@3,1");
    Press(Qt::Key_Delete); // drops it too
    EXPECT_EQ(grid->GetCellText(3, Col::kName), "");
    Write("NOTE");
    Press(Qt::Key_Return);
    Press(Qt::Key_Up);
    ASSERT_EQ(store.SetCurrentPropertyByName("NOTE"), 1);

    Press(Qt::Key_Delete); // VENDOR
    EXPECT_TRUE(active->IsModified());
    EXPECT_EQ(store.SetCurrentPropertyByName("VENDOR"), 0);
    EXPECT_EQ(grid->GetCellText(2, Col::kName), "NOTE");
    EXPECT_EQ(Focused(), "1016@1,1");
}

// Escape gives back one step at a time and reaches the dialog only with nothing left to give
// back; the dialog then asks before throwing away a change (No being the default answer), and
// only when OK would change something.
TEST_F(Keyboard, EscapeGivesBackThenCancelAsksOnlyForChanges) {
    Open(CSetupPropSheet::kPinPage);
    Grid* grid = Control<Grid>(CPinPP::kGrid);
    TypeInCell(grid, 3, CPinGridWnd::kIil, "-9");
    Press(Qt::Key_Escape); // the editor
    EXPECT_EQ(grid->GetCellText(3, CPinGridWnd::kIil), "-0.01");
    TypeInCell(grid, 3, CPinGridWnd::kIil, "-9");
    Press(Qt::Key_Return);
    Press(Qt::Key_Down);
    host.answers = {MessageResult::No, MessageResult::Yes};
    Press(Qt::Key_Escape);
    EXPECT_TRUE(active->isVisible()); // No: the user goes on
    ClickButton(PropertySheet::kIdCancel);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>(2, PropertySheet::kDiscardQuestion));
    EXPECT_EQ(host.messages[0].buttons, MessageButtons::YesNoDefaultNo);
    host.messages.clear();
    EXPECT_EQ(active->result(), 2);

    Open(CSetupPropSheet::kPinPage); // a refused cell given back is no change
    grid = Control<Grid>(CPinPP::kGrid);
    TypeInCell(grid, 3, CPinGridWnd::kIil, "9");
    Press(Qt::Key_Return);
    Press(Qt::Key_Down);
    ExpectShown("\nTS Pin : Incorrect Load Value of 9", MessageIcon::None, "refused");
    Press(Qt::Key_Escape);
    EXPECT_EQ(grid->GetCellText(3, CPinGridWnd::kIil), "-0.01");
    EXPECT_TRUE(active->isVisible());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(active->isVisible());

    Open(CSetupPropSheet::kPropertyPage); // nor is a row added and left empty
    Control(CPropertyPP::kAdd)->setFocus();
    Press(Qt::Key_Space);
    Press(Qt::Key_Escape);
    EXPECT_FALSE(active->isVisible());
}

} // namespace
} // namespace pfsetup::test
