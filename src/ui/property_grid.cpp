#include "ui/property_grid.h"

#include "base/ascii_text.h"
#include "host/host_services.h"
#include "persist/setting_checks.h"
#include "setup/record_fields.h"
#include "setup/setting_rules.h"
#include "setup/setting_tables.h"
#include "setup/setup_store.h"
#include "ui/kit/control.h"
#include "ui/properties_page.h"

#include <QKeyEvent>

#include <algorithm>
#include <utility>
#include <vector>

using namespace pfsetup;

namespace {

const std::string kRequiredChoices = WordList(kRequiredWords).Lines();
const std::string kVisibilityChoices = WordList(kVisibilityWords).Lines();
const std::string kAlignmentChoices = WordList(kAlignmentWords).Lines();

// Properties placed on the symbol or on its pins show a visibility and an alignment.
constexpr int kSymbolBits = PFSetupContextSymbol | PFSetupContextSymbolPin;

} // namespace

CPropertyGridWnd::CPropertyGridWnd(CPropertyPP& page) : Grid(&page), page_(page) {
    Initialize(kInitialRows, kAlign);
    SetCellText(0, kName, "Property Name");
    SetCellText(0, kValue, "Value");
    SetCellText(0, kRequired, "Required");
    SetCellText(0, kVisible, "Visible");
    SetCellText(0, kAlign, "Align");
    setColumnHidden(0, true);
    setColumnHidden(kRequired, true);
    setColumnWidth(kName, ScaledWidth(125));
    setColumnWidth(kValue, ScaledWidth(125));
    setColumnWidth(kVisible, ScaledWidth(70));
    setColumnWidth(kAlign, ScaledWidth(60));
    for (int row = 1; row <= kInitialRows; ++row) {
        SetRowChoices(row);
    }
}

void CPropertyGridWnd::Fill() {
    m_nEditRow = 0;
    m_bNewRow = 0;
    boundName_.clear();
    RemoveRows(1, GetRowCount());
    InsertRows(1, kInitialRows);
    for (int row = 1; row <= kInitialRows; ++row) {
        SetRowChoices(row);
    }

    CPFCoreSetupAPI& store = page_.Store();
    store.InitPropertyIteration();
    store.SetPropertyContext(PFSetupContextAll);
    for (int row = 1; store.GetNextProperty(); ++row) {
        if (row > GetRowCount()) { // every property gets a row of its own
            InsertRows(row, 1);
            SetRowChoices(row);
        }
        ShowCurrentProperty(row);
    }
    SetCurrentCell(1, kName);
}

int CPropertyGridWnd::LastUsedRow() const {
    for (int row = GetRowCount(); row >= 1; --row) {
        if (!Trimmed(GetCellText(row, kName)).empty() ||
            !Trimmed(GetCellText(row, kValue)).empty()) {
            return row;
        }
    }
    return 0;
}

// The rows in use and one blank row to start a new property in, or the row the user is in.
int CPropertyGridWnd::LastTabRow() const {
    int last = LastUsedRow() + 1;
    int row = 0;
    int col = 0;
    if (GetCurrentCell(row, col)) {
        last = std::max(last, row);
    }
    return std::min(last, GetRowCount());
}

void CPropertyGridWnd::SetRowChoices(int row) {
    SetChoiceList(row, kRequired, kRequiredChoices);
    SetChoiceList(row, kVisible, kVisibilityChoices);
    SetChoiceList(row, kAlign, kAlignmentChoices);
}

void CPropertyGridWnd::SetAttributeChoices(int row) {
    for (auto [col, choices] :
         {std::pair{kVisible, kVisibilityChoices}, {kAlign, kAlignmentChoices}}) {
        ResetCellStyle(row, col);
        SetChoiceList(row, col, choices);
        SetCellText(row, col, "");
    }
}

void CPropertyGridWnd::ClearAttributeCells(int row) {
    for (int col : {kVisible, kAlign}) {
        ResetCellStyle(row, col);
        SetCellText(row, col, "");
        SetStaticDisabled(row, col);
    }
}

void CPropertyGridWnd::ClearSymbolAttributeCells() {
    if (m_nEditRow >= 1 && m_nEditRow <= GetRowCount()) {
        ClearAttributeCells(m_nEditRow);
    }
}

void CPropertyGridWnd::RestoreSymbolAttributeChoices() {
    if (m_nEditRow >= 1 && m_nEditRow <= GetRowCount()) {
        SetAttributeChoices(m_nEditRow);
    }
}

void CPropertyGridWnd::StyleRowForType(int mask, int row) {
    if (!(mask & kSymbolBits)) {
        ClearAttributeCells(row);
        return;
    }
    // Cells left grey by an earlier type would keep the user from choosing.
    for (auto [col, choices] :
         {std::pair{kVisible, kVisibilityChoices}, {kAlign, kAlignmentChoices}}) {
        if (IsStaticDisabled(row, col)) {
            ResetCellStyle(row, col);
            SetChoiceList(row, col, choices);
        }
    }
}

bool CPropertyGridWnd::OnValidateCell(int row, int col) {
    if (row == 0 || (col != kName && col != kValue)) {
        return true;
    }
    std::string text = GetCellText(row, col);
    if (col == kName) {
        text = UpperCopy(text);
    }
    text = Trimmed(text);
    SetCellText(row, col, text);
    // A new row may lose its name again: it is abandoned, or asks for a name when left.
    if (col == kName && text.empty() && m_bNewRow && row == m_nEditRow) {
        return true;
    }

    // The contexts of the row are checked when the row is left.
    const int context = page_.Store().GetPFCorePropertyContext();
    const std::string error = col == kName
                                  ? PropertyNameRefusal(text, context)
                                  : PropertyValueRefusal(GetCellText(row, kName), text, context);
    if (error.empty()) {
        return true;
    }
    // The text stays, so the user can correct it; the grid keeps them in the cell.
    Host().ShowMessage(error, MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

bool CPropertyGridWnd::OnValidateRow(int row, int& fixCol) {
    return row != m_nEditRow || CheckEditRow(fixCol);
}

bool CPropertyGridWnd::CheckEditRow(int& fixCol) {
    const int row = m_nEditRow;
    // A row the user did not change is left as it is, whatever a file put into it.
    if (row < 1 || row > GetRowCount() || !HasPendingEdit()) {
        return true;
    }
    const std::string name = Trimmed(GetCellText(row, kName));
    fixCol = kName;
    if (name.empty()) {
        if (!m_bNewRow || Trimmed(GetCellText(row, kValue)).empty()) {
            return true; // nothing typed, or the row gives its property back
        }
        Host().ShowMessage("ERROR:Null string not allowed in property name field",
                           MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    if (m_bNewRow && page_.Store().SetCurrentPropertyByName(name)) {
        Host().ShowMessage("Duplicate Property", MessageIcon::None, MessageButtons::Ok);
        return false;
    }
    // The name and value in every context checked for the row, as `set` checks them.
    bool inValue = false;
    const int type = page_.GetTypeFromCheckboxes();
    const std::string value = GetCellText(row, kValue);
    const std::string refusal = PropertyRefusal(name, value, type, &inValue);
    if (refusal.empty()) {
        return true;
    }
    Host().ShowMessage(DialogRefusal(refusal, "Prop_" + name, PropertyEntryValue(type, value)),
                       MessageIcon::Exclamation, MessageButtons::Ok);
    if (inValue) {
        fixCol = kValue;
    }
    return false;
}

bool CPropertyGridWnd::OnEscapeRow(int row) {
    if (row != m_nEditRow || !HasPendingEdit()) {
        return false;
    }
    if (m_bNewRow) {
        for (int col = kName; col <= kAlign; ++col) {
            SetCellText(row, col, "");
        }
        LoadEditRow(row);
    } else if (SelectRowProperty(row)) {
        ReloadRowFromStore();
    }
    return true;
}

// The Delete key deletes the row, as the Delete button does; a row not yet stored is dropped.
void CPropertyGridWnd::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier &&
        state() != EditingState) {
        int row = 0;
        int col = 0;
        if (FindControl(&page_, CPropertyPP::kDelete)->isEnabled()) {
            page_.OnDelete();
        } else if (GetCurrentCell(row, col) && m_bNewRow) {
            OnEscapeRow(row);
        }
        event->accept();
        return;
    }
    Grid::keyPressEvent(event);
}

void CPropertyGridWnd::FollowNameForSymbolCheckbox(const std::string& name) {
    // A package type or part name belongs to the package, never to the symbol: the box is
    // cleared too, since its name is reserved on symbols.
    if (EqualsIgnoreCase(name, "PACK_TYPE") || EqualsIgnoreCase(name, "PART_NAME")) {
        page_.DisableSymbolCheckbox();
        page_.ClearSymbolCheckbox();
    } else {
        page_.EnableSymbolCheckbox();
    }
}

void CPropertyGridWnd::OnMovedCurrentCell(int row, int /*col*/) {
    if (row < 1) {
        return;
    }
    if (row == 1 && GetCellText(1, kName).empty()) {
        SetCellText(1, kVisible, "Value");
        SetCellText(1, kAlign, "Left");
    }
    if (row == m_nEditRow) {
        const std::string name = Trimmed(GetCellText(row, kName));
        if (!name.empty()) {
            FollowNameForSymbolCheckbox(name);
        }
        return;
    }
    CommitEditRow();
    LoadEditRow(row);
}

void CPropertyGridWnd::LoadEditRow(int row) {
    CPFCoreSetupAPI& store = page_.Store();
    const std::string name = Trimmed(GetCellText(row, kName));
    m_nEditRow = row;
    if (name.empty()) {
        page_.EnableSymbolCheckbox();
        m_bNewRow = 1;
        boundName_.clear();
        StyleRowForType(PFSetupContextSymbol, row);
        SetCellText(row, kVisible, "Value");
        SetCellText(row, kAlign, "Left");
        page_.DisableDeleteButton(1);
        page_.SetTypeCheckboxes(PFSetupContextSymbol);
        MarkEditRowLoaded();
        return;
    }
    int mask = PFSetupContextSymbol;
    if (store.SetCurrentPropertyByName(name)) {
        store.GetPropertyType(mask);
        boundName_ = name;
        m_bNewRow = 0;
    } else {
        // A name no property has (one the store holds with blanks around it): leaving the row
        // creates the property.
        boundName_.clear();
        m_bNewRow = 1;
    }
    page_.SetTypeCheckboxes(mask);
    FollowNameForSymbolCheckbox(name);
    page_.DisableDeleteButton(0);
    MarkEditRowLoaded();
}

void CPropertyGridWnd::MarkEditRowLoaded() {
    loaded_ = TextsOf(m_nEditRow);
    loadedMask_ = page_.GetTypeFromCheckboxes();
}

CPropertyGridWnd::RowTexts CPropertyGridWnd::TextsOf(int row) const {
    RowTexts texts;
    for (int col = kName; col <= kAlign; ++col) {
        texts[static_cast<size_t>(col - kName)] = GetCellText(row, col);
    }
    return texts;
}

bool CPropertyGridWnd::HasPendingEdit() const {
    const int row = m_nEditRow;
    if (row < 1 || row > GetRowCount()) {
        return false;
    }
    if (m_bNewRow) { // what a new row shows before anything is typed into it is no edit
        return !Trimmed(GetCellText(row, kName)).empty() ||
               !Trimmed(GetCellText(row, kValue)).empty();
    }
    return TextsOf(row) != loaded_ || page_.GetTypeFromCheckboxes() != loadedMask_;
}

bool CPropertyGridWnd::SelectRowProperty(int row) {
    CPFCoreSetupAPI& store = page_.Store();
    if (row == m_nEditRow) {
        return !m_bNewRow && store.SetCurrentPropertyByName(boundName_);
    }
    return store.SetCurrentPropertyByName(Trimmed(GetCellText(row, kName)));
}

void CPropertyGridWnd::CommitEditRow() {
    if (m_nEditRow < 1 || m_nEditRow > GetRowCount()) {
        return;
    }
    const int row = m_nEditRow;
    CPFCoreSetupAPI& store = page_.Store();
    const std::string name = Trimmed(GetCellText(row, kName));

    if (m_bNewRow) {
        if (name.empty()) { // abandoned
            for (int col : {kValue, kRequired, kVisible, kAlign}) {
                SetCellText(row, col, "");
            }
            RestoreSymbolAttributeChoices();
            return;
        }
        if (!store.CreateProperty(name)) {
            for (int col = kName; col <= kAlign; ++col) {
                SetCellText(row, col, "");
            }
            RestoreSymbolAttributeChoices();
            Host().ShowMessage("Duplicate Property", MessageIcon::None, MessageButtons::Ok);
            return;
        }
        WriteRowToStore();
        m_bNewRow = 0;
        return;
    }

    if (!SelectRowProperty(row)) {
        // The property went from the store meanwhile: the row makes it again.
        m_bNewRow = 1;
        CommitEditRow();
        return;
    }
    // A row the user did not change stays as the store has it, whatever the row shows.
    if (!HasPendingEdit()) {
        return;
    }
    std::string stored;
    store.GetPropertyName(stored);
    if (name == stored) {
        WriteRowToStore();
    } else if (name.empty() || store.SetCurrentPropertyByName(name)) {
        // Cleared, or renamed to a name in use: the row shows its property again.
        store.SetCurrentPropertyByName(stored);
        ReloadRowFromStore();
    } else {
        store.SetCurrentPropertyByName(stored);
        WriteRowToStore();
    }
}

void CPropertyGridWnd::WriteRowToStore() {
    const int row = m_nEditRow;
    const int mask = page_.GetTypeFromCheckboxes();
    const std::string name = Trimmed(GetCellText(row, kName));
    const std::string value = GetCellText(row, kValue);
    std::string required = GetCellText(row, kRequired);
    if (required.empty()) {
        required = "Yes";
        SetCellText(row, kRequired, required);
    }
    std::string visibility = GetCellText(row, kVisible);
    std::string alignment = GetCellText(row, kAlign);
    if (mask & kSymbolBits) {
        if (visibility.empty()) {
            visibility = "Value";
            SetCellText(row, kVisible, visibility);
        }
        if (alignment.empty()) {
            alignment = "Left";
            SetCellText(row, kAlign, alignment);
        }
    }
    CPFCoreSetupAPI& store = page_.Store();
    store.PutPropertyName(name);
    store.PutPropertyValue(value);
    store.PutPropertyRequired(required);
    store.PutPropertyAlignment(alignment);
    store.PutPropertyVisibility(visibility);
    store.PutPropertyType(mask);
    boundName_ = name;
    MarkEditRowLoaded();
}

int CPropertyGridWnd::ShowCurrentProperty(int row) {
    const PropertyFields property = CurrentPropertyFields(page_.Store());
    SetCellText(row, kName, property.name);
    SetCellText(row, kValue, property.value);
    // Words a read did not take are shown as the file holds them.
    const std::vector<std::string> written = page_.FileFields(property);
    SetCellText(row, kRequired, written.empty() ? property.required : written[2]);
    SetCellText(row, kVisible, written.empty() ? property.visibility : written[3]);
    SetCellText(row, kAlign, written.empty() ? property.alignment : written[4]);
    StyleRowForType(property.type, row);
    return property.type;
}

void CPropertyGridWnd::ReloadRowFromStore() {
    page_.SetTypeCheckboxes(ShowCurrentProperty(m_nEditRow));
    MarkEditRowLoaded();
}

int CPropertyGridWnd::AddRow() {
    // The row being edited is left as by any move: a refusal keeps the user there.
    if (!TransferCurrentCell()) {
        return 0;
    }
    const int row = LastUsedRow() + 1;
    InsertRows(row, 1);
    if (m_nEditRow >= row) {
        ++m_nEditRow;
    }
    SetRowChoices(row);
    setFocus(Qt::OtherFocusReason);
    SetCurrentCell(row, kName);
    return row;
}

void CPropertyGridWnd::DeleteCurrentRow() {
    int row = 0;
    int col = 0;
    if (!GetCurrentCell(row, col) || row == 0) {
        return;
    }
    // The property the row stands for, not whichever one has the name typed into it.
    if (SelectRowProperty(row)) {
        page_.Store().DeleteCurrentProperty();
    }
    RemoveRows(row, row);
    const int target = row == 1 ? 1 : row - 1;
    m_nEditRow = 0; // nothing to commit for the deleted row
    SetCurrentCell(target, kName);
    if (Trimmed(GetCellText(target, kName)).empty()) {
        page_.DisableDeleteButton(1);
    }
}
