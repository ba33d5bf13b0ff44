#pragma once
// The Pin page: the pin-type load table in a grid, one row per pin type with the side of the
// symbol its pins go on and its four loads. Edits stay in the grid until the sheet's OK or
// template save moves them into the store (TransferPinPage).

#include "ui/kit/grid.h"
#include "ui/setup_page.h"

#include <string>
#include <vector>

// Rows 0 and 1 are headers, rows 2 to 14 the pin types; column 0 names the pin type.
class CPinGridWnd : public pfsetup::Grid {
    Q_OBJECT
public:
    static constexpr int kFirstPinRow = 2;
    static constexpr int kLastPinRow = 14;
    enum Column : int { kPinType = 0, kPosition, kIil, kIih, kIol, kIoh };

    using Grid::Grid;

protected:
    // A load the user edited is trimmed (a decimal comma taken as the point where the locale
    // writes one), "*" when left empty, and checked; a wrong one is reported and the user stays
    // in the cell to fix it (Escape gives back the old load).
    bool OnValidateCell(int row, int col) override;
};

class CPinPP : public pfsetup::SetupPage {
    Q_OBJECT
public:
    static constexpr unsigned kHelpContextId = 0x20212;
    enum ControlId : int { kGrid = 1017 };

    explicit CPinPP(CPFCoreSetupAPI& store, QWidget* parent = nullptr);

    // Takes what the user is typing into the grid; a refused load keeps the user on the page.
    bool OnKillActive() override;
    bool OnInitDialog() override;
    // Whether a cell shows another text than it was loaded with.
    bool IsModified() const override;
    // Whether the user changed a cell of the row.
    bool IsRowEdited(int row) const;
    // What each column means, takes and sets, for the page's help.
    static std::string FieldsHelp();

    CPinGridWnd* m_pGrid; // owned through the page

protected:
    // Takes what the user is typing into the grid; the grid is the page's only state.
    bool DoDataExchange(bool saveAndValidate) override;
    void LoadFrom(CPFCoreSetupAPI& store) override;
    void UpdateTips() override;

private:
    std::vector<std::string> loaded_; // the cells' texts, row by row, when first loaded
};

// Grid -> store, row by row, for the rows the user changed; nothing when the page was never
// shown. A load that fails its check is one the files hold (the grid refuses those the user
// types): it stays as it is.
void TransferPinPage(CPinPP& page);
