#pragma once
// A grid of text cells over QTableWidget: our stand-in for the grid control the Pin and
// Property pages were built on. Cells are numbered as that control numbered them: row 0 and
// column 0 are the header row and column, data rows and columns count from 1, and the row and
// column counts leave the header row and column out.
//
// The first header rows (one unless set) stay in place while the rows below them scroll and
// may join cells. Column 0 shows row names in header style, or is hidden. A data cell is plain
// text, a drop-down list (the user can only pick an entry of the cell's choice list), or a
// static disabled cell with a grey background that shows its text but cannot be entered.
//
// Hooks let a page take part in editing. When the user leaves a cell whose text they changed,
// OnValidateCell runs and may refuse: the user stays in the cell, the text they typed kept, and
// it is checked again when they next try to leave it. When the user leaves a row,
// OnValidateRow may refuse and name the cell to fix. After the current cell moved,
// OnMovedCurrentCell runs. Programmatic moves (SetCurrentCell) go through all of them;
// inserting and removing rows goes through none.
//
// Escape undoes, one step at a time, and only what is left to undo reaches the dialog: in an
// editor it drops what was typed; then it gives the current cell back the text it had when the
// user entered it (refused or not yet checked); then OnEscapeRow may give back the row.
//
// By keyboard: the grid has a current cell as soon as it has the focus; arrows, F2 and typing
// work on it, Alt+Down or F4 opens a drop-down list. Tab and Shift+Tab move cell by cell, also
// out of an editor, and leave the grid after the last cell of LastTabRow() or before the first.
// By mouse: a click on the arrow of a drop-down cell opens its list. The current cell is shown
// selected while the grid has the focus, and only then.

#include <QColor>
#include <QTableWidget>

#include <string>
#include <vector>

namespace pfsetup {

class GridHeader;

class Grid : public QTableWidget {
    Q_OBJECT
public:
    static constexpr QRgb kDisabledBackground = 0xFFC0C0C0; // RGB 192, 192, 192

    explicit Grid(QWidget* parent = nullptr);

    // Rows 0..rowCount and columns 0..colCount, every cell empty plain text, no joins. The
    // number of header rows stays.
    void Initialize(int rowCount, int colCount);
    // The numbers of the last row and the last column.
    int GetRowCount() const { return rowCount() - 1; }
    int GetColCount() const { return columnCount() - 1; }

    // Rows 0..count-1 are header rows: fixed at the top, drawn as headers, never entered.
    void SetHeaderRows(int count);
    int GetHeaderRows() const { return headerRows_; }
    // Joins the cells of the rectangle into one that shows the top-left cell's text. A join
    // lies either within the header rows or below them.
    void JoinCells(int top, int left, int bottom, int right);

    // "" for a cell outside the grid; setting one outside the grid does nothing.
    std::string GetCellText(int row, int col) const;
    void SetCellText(int row, int col, const std::string& text);

    // Makes the cell a drop-down list of the entries of `choices`, one per line
    // ("Left\nRight\n"). The cell keeps its text, listed or not.
    void SetChoiceList(int row, int col, const std::string& choices);
    // The cell's choice list as given; "" for a cell that is not a drop-down list.
    std::string GetChoiceList(int row, int col) const;
    // Makes the cell static and disabled, on the grey background; it keeps its text.
    void SetStaticDisabled(int row, int col);
    bool IsStaticDisabled(int row, int col) const;
    // Back to a plain text cell: no choice list, no grey; the text stays.
    void ResetCellStyle(int row, int col);
    // Whether the user can enter the cell: a data cell that is not static.
    bool IsEnterable(int row, int col) const;

    // Inserts `count` empty plain rows before `row` (GetRowCount() + 1 appends). Rows go below
    // the header rows.
    void InsertRows(int row, int count);
    // Removes rows first..last, data rows only. When the current cell goes with them there is
    // no current cell afterwards, and what the user was typing there is dropped.
    void RemoveRows(int first, int last);

    // Moves the current cell there and scrolls it into view, as a user's move would: a changed
    // cell being left is validated first. False when the cell cannot be entered or the cell
    // being left refused.
    bool SetCurrentCell(int row, int col);
    // False when there is no current cell.
    bool GetCurrentCell(int& row, int& col) const;
    // Takes what the user is typing into the current cell and validates the cell when the user
    // changed it, then its row. Pages call it before they read the grid; false when the cell
    // or the row refused (the focus is then on the cell to fix).
    bool TransferCurrentCell();
    // Makes the cell current without any hook, selected and in view, and gives the grid the
    // focus: where a refusal points the user.
    void FocusCell(int row, int col);

    // The last row Tab visits; the last row unless a grid offers fewer.
    virtual int LastTabRow() const { return GetRowCount(); }

    // A width given in pixels of the small dialog font grids were first laid out for, widened
    // in proportion for this grid's font so that the same texts fit.
    int ScaledWidth(int pixels) const;

    // The size that shows every column and row without scrolling.
    QSize ContentSize() const;

protected:
    // The user leaves the changed cell (row, col); false keeps them in it.
    virtual bool OnValidateCell(int /*row*/, int /*col*/) { return true; }
    // The user leaves `row` (its cells already accepted); false, with `fixCol` the column to
    // put them in, keeps them in the row.
    virtual bool OnValidateRow(int /*row*/, int& /*fixCol*/) { return true; }
    // The current cell is now (row, col).
    virtual void OnMovedCurrentCell(int /*row*/, int /*col*/) {}
    // Escape in `row` with nothing of the current cell to give back; true when the page gave
    // back the row, false to let Escape reach the dialog.
    virtual bool OnEscapeRow(int /*row*/) { return false; }

    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class GridDelegate;

    // The delegate reports a text the user changed; `before` is the cell's text until then.
    void NoteUserEdit(const QString& before);
    QTableWidgetItem* CellItem(int row, int col) const;
    // The cell Tab reaches from `from` (from outside the grid when it is invalid); invalid
    // past either end.
    QModelIndex TabTarget(const QModelIndex& from, bool forward) const;
    bool IsTabStop(int row, int col) const;
    // Moves back to `cell` after a refusal, without hooks.
    void Revert(const QModelIndex& cell);
    QTableWidgetItem* MakeCell(int row, int col);
    void ApplyFlags(QTableWidgetItem* item, int row, int col) const;
    bool IsHeaderCell(int row, int col) const { return row < headerRows_ || col == 0; }
    // The drop-down cell whose arrow is under `pos` (viewport coordinates), or an invalid index.
    QModelIndex ArrowAt(const QPoint& pos) const;
    // Opens the list of the current cell when it is a drop-down cell.
    void OpenList();

    GridHeader* header_;
    int headerRows_ = 0;
    bool modified_ = false;              // the user changed the current cell since entering it
    QString original_;                   // the current cell's text before the user changed it
    bool muted_ = false;                 // no hooks: rows are being inserted or removed
    bool reverting_ = false;             // a refused move is being undone
    bool refused_ = false;               // the last move was refused
    QPersistentModelIndex arrowPressed_; // the drop-down cell whose arrow the mouse pressed
};

} // namespace pfsetup
