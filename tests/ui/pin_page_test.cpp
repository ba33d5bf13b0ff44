// The Pin page: the load table in its grid, the loads checked as the user leaves them, and
// what OK stores.
#include "dialog_driver.h"

#include <QAbstractItemView>

#include <tuple>

namespace pfsetup::test {
namespace {

enum Row : int { INPUT = 2, TS, TS_BIDIR, BIDIR = 7, OC = 9, NC = 14 };
using Col = CPinGridWnd::Column;

// Position and the four loads, blank-separated.
std::string StoredLoads(Store& store, const std::string& pinType) {
    EXPECT_EQ(store.SetCurrentPinByValue(pinType), 1) << pinType;
    std::string loads = Get(store, &Store::GetDefPinLocation);
    for (auto load : {&Store::GetDefIil, &Store::GetDefIih, &Store::GetDefIol, &Store::GetDefIoh})
        loads += " " + Get(store, load);
    return loads;
}

class PinPage : public ProjectDriver {
protected:
    void SetUp() override {
        UseProject("");
        Open(CSetupPropSheet::kPinPage);
        grid = Control<Grid>(CPinPP::kGrid);
    }
    Grid* grid = nullptr;
};

TEST_F(PinPage, ShowsTheStoreWithGreyCellsForLoadsThatDoNotApply) {
    EXPECT_EQ(grid->GetCellText(0, Col::kIol), "Output Load ");
    EXPECT_EQ(grid->GetCellText(1, Col::kIoh), "High");
    EXPECT_EQ(grid->GetCellText(OC, Col::kPinType), "OC");
    std::string editable, shown;
    for (int row = INPUT; row <= NC; ++row) {
        EXPECT_EQ(grid->GetChoiceList(row, Col::kPosition), "Left\nRight\nTop\nBottom\n");
        for (int col = Col::kIil; col <= Col::kIoh; ++col)
            editable += grid->IsStaticDisabled(row, col) ? '.' : 'e';
        editable += ' ';
    }
    // Per row from INPUT to NC, the load cells the user may edit ('e') and the grey ones.
    EXPECT_EQ(editable, "ee.. eeee eeee eeee eeee eeee ..ee ..ee ..ee .... .... .... .... ");
    for (int col = Col::kPosition; col <= Col::kIoh; ++col)
        shown += grid->GetCellText(OC, col) + " ";
    EXPECT_EQ(shown, "Right   1.0 * ");
    QTest::keyClick(grid, Qt::Key_F1);
    EXPECT_EQ(host.helpRequests, std::vector<unsigned>{0x20212});
}

TEST_F(PinPage, EachLoadIsCheckedWhenTheUserLeavesIt) {
    // The cell, what is typed into it, what it then shows, and the refusal, which keeps the
    // user in the cell with the text (Escape gives back the load it had).
    const std::tuple<int, int, const char*, const char*, const char*> cases[] = {
        {TS, Col::kIil, "0.01", "0.01", "\nTS Pin : Incorrect Load Value of 0.01"},
        {BIDIR, Col::kIoh, " -2 ", "-2", nullptr},
        {OC, Col::kIol, "", "*", nullptr},
    };
    for (const auto& [row, col, typed, shown, message] : cases) {
        const std::string before = grid->GetCellText(row, col);
        TypeInCell(grid, row, col, typed);
        ClickCell(grid, row, Col::kPosition);
        EXPECT_EQ(grid->GetCellText(row, col), shown) << typed;
        ExpectShown(message, MessageIcon::None, typed);
        EXPECT_TRUE(IsCurrent(grid, row, message ? col : int(Col::kPosition))) << typed;
        if (message) {
            QTest::keyClick(grid, Qt::Key_Escape);
            EXPECT_EQ(grid->GetCellText(row, col), before) << typed;
        }
    }
}

// OK takes the cell being edited; a refused one keeps the dialog open on it, with one message.
// A load the file holds that no check takes stays as it is; one click on a position's arrow
// opens its list.
TEST_F(PinPage, OkStoresWhatTheUserChangedAndKeepsTheRest) {
    UseProject("PinType_BIDIR '-0.01,0.01,1.0,abc,Right'\n");
    Open(CSetupPropSheet::kPinPage);
    grid = Control<Grid>(CPinPP::kGrid);
    EXPECT_EQ(grid->GetCellText(BIDIR, Col::kIoh), "abc");
    TypeInCell(grid, INPUT, Col::kIih, "");
    const QRect position = grid->visualItemRect(grid->item(TS, Col::kPosition));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      QPoint(position.right() - 3, position.center().y()));
    auto* list = qobject_cast<QComboBox*>(grid->indexWidget(grid->currentIndex()));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->view()->isVisible());
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_Return);
    TypeInCell(grid, TS_BIDIR, Col::kIil, "0.3");
    ClickButton(PropertySheet::kIdOk);
    EXPECT_TRUE(active->isVisible());
    ExpectShown("\nTS_BIDIR Pin : Incorrect Load Value of 0.3", MessageIcon::None, "OK");
    EXPECT_TRUE(IsCurrent(grid, TS_BIDIR, Col::kIil));

    TypeInCell(grid, TS_BIDIR, Col::kIil, "-0.3"); // OK takes it without leaving the cell
    ClickButton(PropertySheet::kIdOk);
    EXPECT_EQ(active->result(), 1);
    auto written = Reread();
    for (CPFCoreSetupAPI* s : {&store, written.get()}) {
        EXPECT_EQ(StoredLoads(*s, "TS"), "Top -0.01 0.01 1.0 -1.0");
        EXPECT_EQ(StoredLoads(*s, "BIDIR"), "Right -0.01 0.01 1.0 abc");
        EXPECT_EQ(StoredLoads(*s, "INPUT"), "Left -0.01 *  ");
        EXPECT_EQ(StoredLoads(*s, "TS_BIDIR"), "Right -0.3 0.01 1.0 -1.0");
    }
}

} // namespace
} // namespace pfsetup::test
