#pragma once
// The Property page: the store's default properties in a grid, one row each, with the check
// boxes that say where the property of the edited row applies. Unlike the other pages it
// writes into the store as the user leaves each row, and deletes at once; OK and the template
// commands commit the row still being edited, Cancel re-reads the store (the sheet's part).

#include "ui/kit/grid.h"
#include "ui/setup_page.h"

#include <string>

class CPropertyPP;
class QCheckBox;
class QPushButton;

// Columns: name (upper case), value, required (hidden), visibility and alignment. A row whose
// property is placed neither on the symbol nor on its pins has grey, disabled Visible and
// Align cells. Tab visits the rows in use and one blank row; Delete deletes the current row.
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

    // Moves the edited row into the store: a new row creates its property ("Duplicate
    // Property" when the name is taken, and the row is emptied); a stored row is written back,
    // and renamed unless the new name is taken or empty, in which case the row is reloaded.
    void CommitEditRow();
    // The edited row's cells and the page's check boxes -> the store's current property.
    void WriteRowToStore();
    // The store's current property -> the edited row's cells and the page's check boxes.
    void ReloadRowFromStore();
    // Writes the store's current property into `row` and styles it; returns its type mask.
    int ShowCurrentProperty(int row);
    // Grey Visible and Align cells for a property on neither the symbol nor its pins, their
    // drop-down lists otherwise.
    void StyleRowForType(int mask, int row);
    // The drop-down lists of columns 3 to 5.
    void SetRowChoices(int row);
    void SetAttributeChoices(int row);
    void ClearAttributeCells(int row);
    // Makes the property that `row` stands for the store's current one; false when there is
    // none (a new row, or a name no property has).
    bool SelectRowProperty(int row);
    // Binds the edited row to the row just entered: the check boxes, Delete and the "&Symbol"
    // box follow its property, or a new row starts with defaults.
    void LoadEditRow(int row);
    // Whether the edited row may be left: a new row needs a name once anything is typed into
    // it, and one no stored property has; name and value must pass the checks of every context
    // checked for the row. False, after telling the user, with `fixCol` the cell to fix.
    bool CheckEditRow(int& fixCol);

    int m_nEditRow = 0; // the row being edited; 0 none
    int m_bNewRow = 0;  // m_nEditRow has no property in the store yet

protected:
    // Names are upper-cased and trimmed, values trimmed; a refused text stays in the cell and
    // the validator's message is shown.
    bool OnValidateCell(int row, int col) override;
    bool OnValidateRow(int row, int& fixCol) override;
    // Leaving a row commits it; entering one loads it.
    void OnMovedCurrentCell(int row, int col) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FollowNameForSymbolCheckbox(const std::string& name);

    CPropertyPP& page_;
    // The name of the stored property the edited row stands for: the store's current property
    // is selected by it again before each write, whatever moved the store's cursor meanwhile.
    std::string boundName_;
};

class CPropertyPP : public pfsetup::SetupPage {
    Q_OBJECT
public:
    static constexpr unsigned kHelpContextId = 0x20213;
    enum ControlId : int {
        kGrid = 1016,
        kSymbol = 1020,
        kSymbolPin = 1021,
        kPackage = 1022,
        kPackagePin = 1023,
        kAdd = 1027,
        kDelete = 1028,
        kPtfGlobal = 1065,
        kPtfPackage = 1066,
        kPtfPhysical = 1067,
    };

    explicit CPropertyPP(CPFCoreSetupAPI& store, QWidget* parent = nullptr);

    // Template modes keep the check boxes of symbol pins, package pins and the part table
    // disabled; called before the page is shown.
    void EnableTemplateMode() { m_bTemplateMode = 1; }
    bool OnInitDialog() override;
    // Takes what the user is typing into the grid; a refused cell or row keeps the user on the
    // page, in the cell to fix.
    bool OnKillActive() override;
    void OnOK() override;
    // Moves the row being edited into the store; nothing when the page was never shown.
    void CommitEditRow();

    // The property type mask (PFSetupPropertyContext bits) <-> the seven check boxes.
    void SetTypeCheckboxes(int mask);
    int GetTypeFromCheckboxes() const;
    void DisableDeleteButton(int disable);
    void EnableSymbolCheckbox();
    void DisableSymbolCheckbox();
    // Unchecks the Symbol box as a click would.
    void ClearSymbolCheckbox();
    // The Visible and Align cells of the edited row: grey and empty, or drop-down lists again.
    void ClearSymbolAttributeCells();
    void RestoreSymbolAttributeChoices();

    // Add: a new row after the rows in use, with the cursor in its name cell. Delete: the
    // current row and its property.
    void OnAdd();
    void OnDelete();

    CPropertyGridWnd* m_pGrid; // owned through the page
    int m_bTemplateMode = 0;

protected:
    // The module's store fills the grid; the installed defaults replace the store's list
    // first (the page edits the store directly, and Cancel re-reads it).
    void LoadFrom(CPFCoreSetupAPI& store) override;
    void UpdateTips() override;

private:
    QCheckBox* Box(int id) const;
    void OnSymbolGroup(int clicked);
    void OnPtfGlobal();
    void OnPtfPackageOrPhysical();
    void SetRowTips(int row);

    QPushButton* delete_;
};
