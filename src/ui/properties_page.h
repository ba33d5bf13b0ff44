#pragma once
// The Property page: the store's default properties in a grid, one row each, with the check
// boxes that say where the property of the edited row applies. Unlike the other pages it
// writes into the store as the user leaves each row, and deletes at once; OK and the template
// commands commit the row still being edited, Cancel re-reads the store (the sheet's part).

#include "setup/record_fields.h"
#include "ui/property_grid.h"
#include "ui/setup_page.h"

#include <string>
#include <vector>

class QCheckBox;
class QPushButton;

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

    // Whether the store's properties differ from those it held when the page was first
    // shown, or the edited row holds what the store does not have yet.
    bool IsModified() const override;
    // The fields of the entry of `property` as the file holds them (type, value, required,
    // visibility, alignment), when a read did not take it as written and the store still holds
    // what the read made of it; empty otherwise.
    std::vector<std::string> FileFields(const pfsetup::PropertyFields& property) const;
    // What each column and check box means, takes and sets, for the page's help.
    static std::string FieldsHelp();

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
    std::vector<pfsetup::PropertyFields> StoredProperties() const;

    QPushButton* delete_;
    std::vector<pfsetup::PropertyFields>
        shown_; // the store's properties when the page was first shown
};
