// The grid stand-in on its own: which cells can be entered, the refusing validation hook,
// drop-down cells and row changes.
#include "dialog_driver.h"

#include <utility>

namespace pfsetup::test {
namespace {

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
    const struct {
        int row, col;
        bool enterable;
    } cases[] = {{0, 1, false}, {1, 2, false}, {2, 0, false}, {3, 2, false},
                 {5, 1, false}, {2, 1, true},  {3, 3, true},  {4, 3, true}};
    for (const auto& c : cases)
        EXPECT_EQ(grid.SetCurrentCell(c.row, c.col), c.enterable) << c.row << "," << c.col;
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
    TypeInCell(&grid, 2, 1, "x");
    ClickCell(&grid, 4, 1);
    EXPECT_EQ(grid.validated, std::vector<Cell>{Cell(2, 1)});
    EXPECT_TRUE(IsCurrent(&grid, 2, 1));
    EXPECT_EQ(grid.selectedItems(), QList<QTableWidgetItem*>{grid.item(2, 1)});
    ClickCell(&grid, 4, 1); // unchanged since the refusal: the user may leave
    EXPECT_EQ(grid.validated.size(), 1u);
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
    EXPECT_TRUE(grid.TransferCurrentCell());
}

TEST_F(GridTest, DropDownCellsOfferOnlyTheirChoices) {
    grid.SetCellText(4, 3, "Up"); // not listed: kept until the user picks
    ChooseInCell(&grid, 4, 3, "");
    auto* combo = qobject_cast<QComboBox*>(grid.indexWidget(grid.currentIndex()));
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
