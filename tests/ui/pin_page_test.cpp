// The Pin page: the load table in its grid, the loads checked as the user leaves them, and
// what OK stores.
#include "dialog_driver.h"

namespace pfsetup::test {
namespace {

enum Row : int { INPUT = 2, TS, TS_BIDIR, BIDIR = 7, OC = 9, NC = 14 };
using Col = CPinGridWnd::Column;

// Position and the four loads, blank-separated.
std::string StoredLoads(CPFCoreSetupAPI& store, const std::string& pinType) {
    std::string position, iil, iih, iol, ioh;
    EXPECT_EQ(store.SetCurrentPinByValue(pinType), 1) << pinType;
    store.GetDefPinLocation(position);
    store.GetDefIil(iil);
    store.GetDefIih(iih);
    store.GetDefIol(iol);
    store.GetDefIoh(ioh);
    return position + " " + iil + " " + iih + " " + iol + " " + ioh;
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
    // Per row from INPUT to NC, the load cells the user may edit ('e') and the grey ones.
    const char* const editable[] = {"ee..", "eeee", "eeee", "eeee", "eeee", "eeee", "..ee",
                                    "..ee", "..ee", "....", "....", "....", "...."};
    std::string shown;
    for (int row = INPUT; row <= NC; ++row) {
        EXPECT_EQ(grid->GetChoiceList(row, Col::kPosition), "Left\nRight\nTop\nBottom\n");
        for (int col = Col::kIil; col <= Col::kIoh; ++col)
            EXPECT_EQ(grid->IsStaticDisabled(row, col),
                      editable[row - INPUT][col - Col::kIil] == '.')
                << row << "," << col;
    }
    for (int col = Col::kPosition; col <= Col::kIoh; ++col)
        shown += grid->GetCellText(OC, col) + " ";
    EXPECT_EQ(shown, "Right   1.0 * ");
    QTest::keyClick(grid, Qt::Key_F1);
    EXPECT_EQ(host.helpRequests, std::vector<unsigned>{0x20212});
}

TEST_F(PinPage, EachLoadIsCheckedWhenTheUserLeavesIt) {
    const struct {
        int row, col;
        const char *typed, *shown, *message;
    } cases[] = {
        {TS, Col::kIil, "0.01", "0.01", "\nTS Pin : Incorrect Load Value of 0.01"},
        {TS, Col::kIih, "+0.5", "+0.5", nullptr},
        {TS, Col::kIih, "-0.5", "-0.5", "\nTS Pin : Incorrect Load Value of -0.5"},
        {BIDIR, Col::kIoh, " -2 ", "-2", nullptr},
        {OC, Col::kIol, "", "*", nullptr},
        {INPUT, Col::kIil, "-0", "-0", "\nINPUT Pin : Incorrect Load Value of -0"},
    };
    for (const auto& c : cases) {
        host.messages.clear();
        TypeInCell(grid, c.row, c.col, c.typed);
        ClickCell(grid, c.row, Col::kPosition);
        EXPECT_EQ(grid->GetCellText(c.row, c.col), c.shown) << c.typed;
        EXPECT_EQ(MessageTexts(),
                  c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{})
            << c.typed;
        for (const RecordedMessage& m : host.messages)
            EXPECT_EQ(m.icon, MessageIcon::None);
        EXPECT_TRUE(IsCurrent(grid, c.row, Col::kPosition)) << c.typed; // moved on anyway
    }
}

TEST_F(PinPage, OkStoresTheGridWithAStarForEveryRefusedLoad) {
    TypeInCell(grid, TS, Col::kIil, "0.01");
    TypeInCell(grid, BIDIR, Col::kIoh, "abc");
    TypeInCell(grid, INPUT, Col::kIih, "");
    ChooseInCell(grid, TS, Col::kPosition, "T");
    TypeInCell(grid, TS_BIDIR, Col::kIil, "-0.3"); // OK takes it without leaving the cell
    host.messages.clear();
    ClickButton(PropertySheet::kIdOk);

    EXPECT_EQ(active->result(), 1);
    EXPECT_EQ(MessageTexts(),
              std::vector<std::string>{"\nTS Pin : Incorrect Load Value of 0.01"
                                       "\nBIDIR Pin : Incorrect Load Value of abc"});
    auto written = Reread();
    for (CPFCoreSetupAPI* s : {&store, written.get()}) {
        EXPECT_EQ(StoredLoads(*s, "TS"), "Top * 0.01 1.0 -1.0");
        EXPECT_EQ(StoredLoads(*s, "BIDIR"), "Right -0.01 0.01 1.0 *");
        EXPECT_EQ(StoredLoads(*s, "INPUT"), "Left -0.01 *  ");
        EXPECT_EQ(StoredLoads(*s, "TS_BIDIR"), "Right -0.3 0.01 1.0 -1.0");
    }
}

TEST_F(PinPage, APageNeverOpenedChangesNothing) {
    CPinPP unopened(store);
    unopened.m_pGrid->SetCellText(TS, Col::kIil, "bad");
    TransferPinPage(unopened);
    EXPECT_EQ(StoredLoads(store, "TS"), "Right -0.01 0.01 1.0 -1.0");
}

} // namespace
} // namespace pfsetup::test
