#pragma once
// The Property page's grid: the store's default properties, one row each. The row the user is
// in is the edited row; it is moved into the store when the user leaves it (or the page
// commits it), and only when the user changed it. Which row that is, and whether it has a
// property in the store yet, is the grid's own state.

#include "ui/kit/grid.h"

#include <array>
#include <string>

class CPropertyPP;

// Columns: name (upper case), value, required (hidden), visibility and alignment. A row whose
// property is placed neither on the symbol nor on its pins has grey, disabled Visible and
// Align cells. Tab visits the rows in use and one blank row.
class CPropertyGridWnd : public pfsetup::Grid {
    Q_OBJECT
public:
    enum Column : int { kName = 1, kValue, kRequired, kVisible, kAlign };
    static constexpr int kInitialRows = 13;

    explicit CPropertyGridWnd(CPropertyPP& page);

    // Empties the grid and shows the store's properties, one row each, with (1, 1) current.
    void Fill();
    // The last row with a name or a value typed into it; 0 for none.
    int LastUsedRow() const;
    int LastTabRow() const override;

    // Moves the edited row into the store when the user changed it: a new row creates its
    // property ("Duplicate Property" when the name is taken, and the row is emptied); a stored
    // row is written back, and renamed unless the new name is taken or empty, in which case
    // the row is reloaded.
    void CommitEditRow();
    // Whether the edited row holds something the user typed or chose that is not in the store.
    bool HasPendingEdit() const;
    // Grey Visible and Align cells for a property on neither the symbol nor its pins, their
    // drop-down lists otherwise.
    void StyleRowForType(int mask, int row);
    // The Visible and Align cells of the edited row: grey and empty, or drop-down lists again.
    void ClearSymbolAttributeCells();
    void RestoreSymbolAttributeChoices();

    // A new row after the rows in use, with the cursor in its name: its number, or 0 when the
    // row being left refused. Deleting: the current row and the property it stands for.
    int AddRow();
    void DeleteCurrentRow();

protected:
    // Names are upper-cased and trimmed, values trimmed; a refused text stays in the cell and
    // the validator's message is shown.
    bool OnValidateCell(int row, int col) override;
    bool OnValidateRow(int row, int& fixCol) override;
    // Leaving a row commits it; entering one loads it.
    void OnMovedCurrentCell(int row, int col) override;
    // Escape gives the edited row back as the store has it, or drops it when it is new.
    bool OnEscapeRow(int row) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The five texts of a row, name to alignment.
    using RowTexts = std::array<std::string, kAlign>;

    RowTexts TextsOf(int row) const;
    // The edited row's cells and the page's check boxes -> the store's current property.
    void WriteRowToStore();
    // The store's current property -> the edited row's cells and the page's check boxes.
    void ReloadRowFromStore();
    // Writes the store's current property into `row` and styles it; returns its type mask.
    int ShowCurrentProperty(int row);
    void SetRowChoices(int row);
    void SetAttributeChoices(int row);
    void ClearAttributeCells(int row);
    // Makes the property that `row` stands for the store's current one; false when there is
    // none (a new row, or a name no property has).
    bool SelectRowProperty(int row);
    // Binds the edited row to the row just entered: the check boxes, Delete and the "&Symbol"
    // box follow its property, or a new row starts with defaults.
    void LoadEditRow(int row);
    // What the edited row shows now is what it stands for.
    void MarkEditRowLoaded();
    // Whether the edited row may be left: a row the user changed needs a name (once anything
    // is typed into a new one), one no other stored property has, and a name and value that
    // pass the checks of every context checked for the row. False, after telling the user,
    // with `fixCol` the cell to fix.
    bool CheckEditRow(int& fixCol);
    void FollowNameForSymbolCheckbox(const std::string& name);

    CPropertyPP& page_;
    int m_nEditRow = 0; // the row being edited; 0 none
    int m_bNewRow = 0;  // m_nEditRow has no property in the store yet
    // The name of the stored property the edited row stands for: the store's current property
    // is selected by it again before each write, whatever moved the store's cursor meanwhile.
    std::string boundName_;
    // The edited row as it was loaded, and the type the check boxes then gave it.
    RowTexts loaded_;
    int loadedMask_ = 0;
};
