// The framework stand-ins: the sheet's page switching and buttons, and the
// grid on its own: which cells can be entered, the refusing validation hook, drop-down cells and
// row changes.
#include "dialog_driver.h"

#include "ui/kit/property_page.h"
#include "ui/kit/property_sheet.h"

#include <tuple>
#include <utility>

namespace pfsetup::test {
namespace {

class CountingPage : public PropertyPage {
public:
    CountingPage(CPFCoreSetupAPI& store, unsigned help) : PropertyPage(store, "P&age", help) {}
    bool OnInitDialog() override {
        ++inits;
        return PropertyPage::OnInitDialog();
    }
    bool OnKillActive() override {
        ++kills;
        return !refuse;
    }
    int inits = 0;
    int kills = 0;
    bool refuse = false;
};

// Three pages, help ids 0x100 to 0x102.
class SheetTest : public ::testing::Test {
protected:
    void Build(int first) {
        sheet = std::make_unique<PropertySheet>("Sheet", nullptr, first);
        for (unsigned i = 0; i < 3; ++i) {
            pages.push_back(std::make_unique<CountingPage>(store, 0x100 + i));
            sheet->AddPage(pages.back().get());
        }
        sheet->show();
    }
    void ClickTab(int index) { test::ClickTab(sheet->GetTabControl(), index); }
    std::vector<int> Inits() const { return {pages[0]->inits, pages[1]->inits, pages[2]->inits}; }

    FakeHost host;
    CPFCoreSetupAPI store;
    std::vector<std::unique_ptr<CountingPage>> pages;
    std::unique_ptr<PropertySheet> sheet; // last: goes before the pages it holds
};

// A page loads once, when first shown; the user stays on a page that refuses to be left, and
// while the tab control is disabled.
TEST_F(SheetTest, PageSwitching) {
    Build(1);
    pages[1]->refuse = true;
    ClickTab(2);
    EXPECT_EQ(pages[1]->kills, 1);
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(sheet->GetTabControl()->currentIndex(), 1);
    EXPECT_EQ(Inits(), (std::vector<int>{0, 1, 0}));
    pages[1]->refuse = false;
    ClickTab(2);
    ClickTab(1);
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(Inits(), (std::vector<int>{0, 1, 1}));

    sheet->EnableTabControl(false);
    ClickTab(0);
    QTest::keyClick(sheet->GetTabControl(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(sheet->GetTabControl()->currentIndex(), 1);
    EXPECT_EQ(Inits(), (std::vector<int>{0, 1, 1}));
}

TEST_F(SheetTest, ButtonsAndKeys) {
    Build(1);
    QTest::mouseClick(sheet->GetButton(PropertySheet::kIdHelp), Qt::LeftButton);
    QTest::keyClick(pages[1].get(), Qt::Key_F1);
    EXPECT_EQ(host.helpRequests, (std::vector<unsigned>{0x101, 0x101}));

    QPushButton* extra = sheet->AddButton(200, "Save..");
    QApplication::processEvents();
    EXPECT_LT(sheet->GetButton(1)->x(), extra->x());
    EXPECT_LT(extra->x(), sheet->GetButton(2)->x());

    pages[1]->refuse = true; // OK asks the shown page first
    QTest::mouseClick(sheet->GetButton(PropertySheet::kIdOk), Qt::LeftButton);
    EXPECT_TRUE(sheet->isVisible());
    QTest::keyClick(sheet.get(), Qt::Key_Escape);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->result(), 2);
}

using Cell = std::pair<int, int>;

class RecordingGrid : public Grid {
public:
    bool refuse = false;
    std::vector<Cell> validated, moved;

protected:
    bool OnValidateCell(int row, int col) override {
        validated.push_back({row, col});
        return !refuse;
    }
    void OnMovedCurrentCell(int row, int col) override { moved.push_back({row, col}); }
};

// Two header rows, data rows 2 to 4, columns 1 to 3; (3, 2) static, (4, 3) a drop-down.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.Initialize(4, 3);
        grid.SetHeaderRows(2);
        grid.SetCellText(3, 2, "5");
        grid.SetStaticDisabled(3, 2);
        grid.SetChoiceList(4, 3, "Left\nRight\n");
        grid.resize(grid.ContentSize());
        grid.show();
    }

    FakeHost host;
    RecordingGrid grid;
};

TEST_F(GridTest, OnlyDataCellsThatAreNotStaticCanBeEntered) {
    const std::tuple<int, int, bool> cases[] = {{0, 1, false}, {1, 2, false}, {2, 0, false},
                                                {3, 2, false}, {5, 1, false}, {2, 1, true},
                                                {3, 3, true},  {4, 3, true}};
    for (const auto& [row, col, enterable] : cases)
        EXPECT_EQ(grid.SetCurrentCell(row, col), enterable) << row << "," << col;
    EXPECT_EQ(grid.item(3, 2)->background().color(), QColor(192, 192, 192));
    ClickCell(&grid, 3, 2);
    EXPECT_TRUE(IsCurrent(&grid, 4, 3));
    grid.SetCurrentCell(3, 1);
    QTest::keyClick(&grid, Qt::Key_Right); // the keyboard skips it, and the header rows
    EXPECT_TRUE(IsCurrent(&grid, 3, 3));
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_TRUE(IsCurrent(&grid, 2, 3));
}

TEST_F(GridTest, OnlyAChangedCellIsValidatedAndARefusalKeepsTheUserInIt) {
    grid.SetCurrentCell(2, 1);
    ClickCell(&grid, 2, 3); // nothing typed
    EXPECT_TRUE(grid.validated.empty());
    EXPECT_EQ(grid.moved, (std::vector<Cell>{{2, 1}, {2, 3}}));

    grid.refuse = true;
    grid.SetCellText(2, 1, "old");
    TypeInCell(&grid, 2, 1, "x");
    ClickCell(&grid, 4, 1);
    ClickCell(&grid, 4, 1); // the refused text is checked again at every try
    EXPECT_EQ(grid.validated, (std::vector<Cell>{{2, 1}, {2, 1}}));
    EXPECT_TRUE(IsCurrent(&grid, 2, 1));
    EXPECT_EQ(grid.selectedItems(), QList<QTableWidgetItem*>{grid.item(2, 1)});
    EXPECT_EQ(grid.GetCellText(2, 1), "x");
    QTest::keyClick(&grid, Qt::Key_Escape); // gives the cell back its text
    EXPECT_EQ(grid.GetCellText(2, 1), "old");
    ClickCell(&grid, 4, 1);
    EXPECT_EQ(grid.validated.size(), 2u);
    EXPECT_TRUE(IsCurrent(&grid, 4, 1));

    grid.refuse = false;
    QTest::keyClicks(&grid, "a"); // typing starts editing; Tab goes on to edit the next cell
    QWidget* editor = grid.indexWidget(grid.currentIndex());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(grid.GetCellText(4, 1), "a");
    EXPECT_EQ(grid.validated.back(), Cell(4, 1));
    EXPECT_TRUE(IsCurrent(&grid, 4, 2));
    EXPECT_NE(grid.indexWidget(grid.currentIndex()), nullptr);

    TypeInCell(&grid, 4, 2, "7"); // a transfer takes what is being typed
    grid.refuse = true;
    EXPECT_FALSE(grid.TransferCurrentCell());
    EXPECT_EQ(grid.GetCellText(4, 2), "7");
    grid.refuse = false;
    EXPECT_TRUE(grid.TransferCurrentCell());
}

TEST_F(GridTest, DropDownCellsOfferOnlyTheirChoices) {
    grid.SetCellText(4, 3, "Up"); // not listed: kept until the user picks
    auto* combo = EditCell<QComboBox>(&grid, 4, 3);
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(grid.GetCellText(4, 3), "Up");
    QTest::keyClicks(combo, "R");
    EXPECT_EQ(grid.GetCellText(4, 3), "Right");
}

TEST_F(GridTest, RowsComeAndGoWithoutHooks) {
    TypeInCell(&grid, 4, 1, "gone");
    grid.validated.clear();
    grid.moved.clear();
    grid.InsertRows(grid.GetRowCount() + 1, 2);
    EXPECT_TRUE(grid.IsEnterable(6, 1));
    grid.RemoveRows(4, 4);
    grid.RemoveRows(0, 1); // header rows stay
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_FALSE(IsCurrent(&grid, 4, 1));
    EXPECT_TRUE(grid.SetCurrentCell(5, 1));
    EXPECT_TRUE(grid.validated.empty()); // what was typed went with its row
    EXPECT_EQ(grid.moved, std::vector<Cell>{Cell(5, 1)});
}

} // namespace
} // namespace pfsetup::test
