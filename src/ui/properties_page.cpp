#include "ui/properties_page.h"

#include "host/host_services.h"
#include "setup/ascii_text.h"
#include "setup/record_fields.h"
#include "setup/setting_rules.h"
#include "setup/setup_store.h"
#include "ui/kit/control.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>

using namespace pfsetup;

namespace {

const char* const kRequiredChoices = "Yes\nNo\n";
const char* const kVisibilityChoices = "Name\nValue\nBoth\nInvisible\n";
const char* const kAlignmentChoices = "Left\nCenter\nRight\n";

// Properties placed on the symbol or on its pins show a visibility and an alignment.
constexpr int kSymbolBits = PFSetupContextSymbol | PFSetupContextSymbolPin;

struct TypeBox {
    int id;
    int bit;
    const char* caption;
};
constexpr TypeBox kTypeBoxes[] = {
    {CPropertyPP::kSymbol, PFSetupContextSymbol, "&Symbol"},
    {CPropertyPP::kSymbolPin, PFSetupContextSymbolPin, "Pi&n"},
    {CPropertyPP::kPackage, PFSetupContextPackage, "&Package"},
    {CPropertyPP::kPackagePin, PFSetupContextPackagePin, "P&in"},
    {CPropertyPP::kPtfGlobal, PFSetupContextPtfGlobal, "&Global"},
    {CPropertyPP::kPtfPackage, PFSetupContextPtfPackage, "Pac&kage"},
    {CPropertyPP::kPtfPhysical, PFSetupContextPtfPhysical, "P&hysical"},
};

std::string Upper(std::string text) {
    for (char& c : text)
        c = ToUpperAscii(c);
    return text;
}

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
    horizontalHeader()->setStretchLastSection(true);
    for (int row = 1; row <= kInitialRows; ++row)
        SetRowChoices(row);
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

void CPropertyGridWnd::StyleRowForType(int mask, int row) {
    if (!(mask & kSymbolBits)) {
        ClearAttributeCells(row);
        return;
    }
    // Cells left grey by an earlier type would keep the user from choosing.
    for (auto [col, choices] :
         {std::pair{kVisible, kVisibilityChoices}, {kAlign, kAlignmentChoices}})
        if (IsStaticDisabled(row, col)) {
            ResetCellStyle(row, col);
            SetChoiceList(row, col, choices);
        }
}

bool CPropertyGridWnd::OnValidateCell(int row, int col) {
    if (row == 0 || (col != kName && col != kValue))
        return true;
    std::string text = GetCellText(row, col);
    if (col == kName)
        text = Upper(text);
    text = TrimBlanks(text);
    SetCellText(row, col, text);

    CPFCoreSetupAPI& store = page_.Store();
    const int context = store.GetPFCorePropertyContext();
    std::string error;
    const int valid = col == kName
                          ? IsValidPropertyName(text, context, error)
                          : IsValidPropertyValue(GetCellText(row, kName), text, context, error);
    if (valid)
        return true;
    SetCellText(row, col, "");
    Host().ShowMessage(error, MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

void CPropertyGridWnd::FollowNameForSymbolCheckbox(const std::string& name) {
    // A package type or part name belongs to the package, never to the symbol.
    if (EqualsIgnoringAsciiCase(name, "PACK_TYPE") || EqualsIgnoringAsciiCase(name, "PART_NAME"))
        page_.DisableSymbolCheckbox();
    else
        page_.EnableSymbolCheckbox();
}

void CPropertyGridWnd::OnMovedCurrentCell(int row, int /*col*/) {
    if (row < 1)
        return;
    if (row == 1 && GetCellText(1, kName).empty()) {
        SetCellText(1, kVisible, "Value");
        SetCellText(1, kAlign, "Left");
    }
    if (row == m_nEditRow) {
        const std::string name = TrimBlanks(GetCellText(row, kName));
        if (!name.empty())
            FollowNameForSymbolCheckbox(name);
        return;
    }
    CommitEditRow();
    LoadEditRow(row);
}

void CPropertyGridWnd::LoadEditRow(int row) {
    CPFCoreSetupAPI& store = page_.Store();
    const std::string name = TrimBlanks(GetCellText(row, kName));
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
        return;
    }
    FollowNameForSymbolCheckbox(name);
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
    page_.DisableDeleteButton(0);
}

bool CPropertyGridWnd::SelectRowProperty(int row) {
    CPFCoreSetupAPI& store = page_.Store();
    if (row == m_nEditRow)
        return !m_bNewRow && store.SetCurrentPropertyByName(boundName_);
    return store.SetCurrentPropertyByName(TrimBlanks(GetCellText(row, kName)));
}

void CPropertyGridWnd::CommitEditRow() {
    if (m_nEditRow < 1 || m_nEditRow > GetRowCount())
        return;
    const int row = m_nEditRow;
    CPFCoreSetupAPI& store = page_.Store();
    const std::string name = TrimBlanks(GetCellText(row, kName));

    if (m_bNewRow) {
        if (name.empty()) { // abandoned
            for (int col : {kValue, kRequired, kVisible, kAlign})
                SetCellText(row, col, "");
            page_.RestoreSymbolAttributeChoices();
            return;
        }
        if (!store.CreateProperty(name)) {
            for (int col = kName; col <= kAlign; ++col)
                SetCellText(row, col, "");
            page_.RestoreSymbolAttributeChoices();
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
    const std::string name = TrimBlanks(GetCellText(row, kName));
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
}

int CPropertyGridWnd::ShowCurrentProperty(int row) {
    const PropertyFields property = CurrentPropertyFields(page_.Store());
    SetCellText(row, kName, property.name);
    SetCellText(row, kValue, property.value);
    SetCellText(row, kRequired, property.required);
    SetCellText(row, kVisible, property.visibility);
    SetCellText(row, kAlign, property.alignment);
    StyleRowForType(property.type, row);
    return property.type;
}

void CPropertyGridWnd::ReloadRowFromStore() {
    page_.SetTypeCheckboxes(ShowCurrentProperty(m_nEditRow));
}

CPropertyPP::CPropertyPP(CPFCoreSetupAPI& store, QWidget* parent)
    : PropertyPage(store, "Proper&ty", kHelpContextId, parent),
      m_pGrid(WithId(new CPropertyGridWnd(*this), kGrid)),
      delete_(WithId(new QPushButton("&Delete", this), kDelete)) {
    auto* add = WithId(new QPushButton("&Add", this), kAdd);
    const QSize content = m_pGrid->ContentSize();
    m_pGrid->setMinimumSize(content.width() + m_pGrid->verticalScrollBar()->sizeHint().width(),
                            content.height() / 2);

    auto* groups = new QHBoxLayout;
    auto group = [&](const char* title, std::initializer_list<int> ids) {
        auto* box = new QGroupBox(title, this);
        auto* column = new QVBoxLayout(box);
        for (const TypeBox& type : kTypeBoxes)
            for (int id : ids)
                if (type.id == id)
                    column->addWidget(WithId(new QCheckBox(type.caption, box), id));
        column->addStretch(1);
        groups->addWidget(box);
    };
    group("Symbol", {kSymbol, kSymbolPin});
    group("Package", {kPackage, kPackagePin});
    group("Part Table", {kPtfGlobal, kPtfPackage, kPtfPhysical});

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(add);
    buttons->addWidget(delete_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pGrid, 1);
    layout->addLayout(buttons);
    layout->addLayout(groups);

    for (int id : {kSymbol, kSymbolPin})
        connect(Box(id), &QCheckBox::clicked, this, [this, id] { OnSymbolGroup(id); });
    connect(Box(kPtfGlobal), &QCheckBox::clicked, this, [this] { OnPtfGlobal(); });
    for (int id : {kPtfPackage, kPtfPhysical})
        connect(Box(id), &QCheckBox::clicked, this, [this] { OnPtfPackageOrPhysical(); });
    connect(add, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(delete_, &QPushButton::clicked, this, [this] { OnDelete(); });
}

QCheckBox* CPropertyPP::Box(int id) const {
    return FindControl<QCheckBox>(this, id);
}

bool CPropertyPP::OnInitDialog() {
    PropertyPage::OnInitDialog();
    if (m_bTemplateMode)
        for (int id : {kSymbolPin, kPackagePin, kPtfGlobal, kPtfPhysical, kPtfPackage})
            Box(id)->setEnabled(false);

    CPropertyGridWnd& grid = *m_pGrid;
    CPFCoreSetupAPI& store = Store();
    store.InitPropertyIteration();
    store.SetPropertyContext(PFSetupContextAll);
    for (int row = 1; store.GetNextProperty(); ++row) {
        if (row > grid.GetRowCount()) { // every property gets a row of its own
            grid.InsertRows(row, 1);
            grid.SetRowChoices(row);
        }
        grid.ShowCurrentProperty(row);
    }

    grid.m_nEditRow = 0;
    int row = 0;
    int col = 0;
    if (grid.GetCurrentCell(row, col) && row == 1)
        grid.LoadEditRow(1);
    else
        grid.SetCurrentCell(1, CPropertyGridWnd::kName);
    return true;
}

bool CPropertyPP::OnKillActive() {
    if (m_bInitialised && !m_pGrid->TransferCurrentCell())
        return false;
    return PropertyPage::OnKillActive();
}

void CPropertyPP::OnOK() {
    CommitEditRow();
    PropertyPage::OnOK();
}

void CPropertyPP::CommitEditRow() {
    if (!m_bInitialised)
        return;
    m_pGrid->TransferCurrentCell();
    m_pGrid->CommitEditRow();
}

void CPropertyPP::SetTypeCheckboxes(int mask) {
    for (const TypeBox& type : kTypeBoxes)
        if (type.bit <= PFSetupContextPackagePin)
            Box(type.id)->setChecked(mask & type.bit);
    QCheckBox* global = Box(kPtfGlobal);
    QCheckBox* package = Box(kPtfPackage);
    QCheckBox* physical = Box(kPtfPhysical);
    const bool editable = !m_bTemplateMode;
    // Global excludes the other two part-table contexts.
    if (mask & PFSetupContextPtfGlobal) {
        if (editable)
            global->setEnabled(true);
        global->setChecked(true);
        for (QCheckBox* box : {package, physical}) {
            box->setEnabled(false);
            box->setChecked(false);
        }
        return;
    }
    if (editable) {
        global->setEnabled(true);
        package->setEnabled(true);
        physical->setEnabled(true);
    }
    global->setChecked(false);
    for (auto [box, bit] : {std::pair{package, PFSetupContextPtfPackage},
                            std::pair{physical, PFSetupContextPtfPhysical}}) {
        box->setChecked(mask & bit);
        if (mask & bit)
            global->setEnabled(false);
    }
}

int CPropertyPP::GetTypeFromCheckboxes() const {
    int mask = 0;
    for (const TypeBox& type : kTypeBoxes)
        if (Box(type.id)->isChecked())
            mask |= type.bit;
    return mask;
}

void CPropertyPP::DisableDeleteButton(int disable) {
    delete_->setEnabled(!disable);
}

void CPropertyPP::EnableSymbolCheckbox() {
    Box(kSymbol)->setEnabled(true);
}

void CPropertyPP::DisableSymbolCheckbox() {
    Box(kSymbol)->setEnabled(false);
}

void CPropertyPP::ClearSymbolAttributeCells() {
    const int row = m_pGrid->m_nEditRow;
    if (row >= 1 && row <= m_pGrid->GetRowCount())
        m_pGrid->ClearAttributeCells(row);
}

void CPropertyPP::RestoreSymbolAttributeChoices() {
    const int row = m_pGrid->m_nEditRow;
    if (row >= 1 && row <= m_pGrid->GetRowCount())
        m_pGrid->SetAttributeChoices(row);
}

void CPropertyPP::OnSymbolGroup(int clicked) {
    const bool symbol = Box(kSymbol)->isChecked();
    const bool pin = Box(kSymbolPin)->isChecked();
    if (!symbol && !pin)
        ClearSymbolAttributeCells();
    else if (symbol != pin && Box(clicked)->isChecked())
        RestoreSymbolAttributeChoices();
}

void CPropertyPP::OnPtfGlobal() {
    const bool global = Box(kPtfGlobal)->isChecked();
    for (int id : {kPtfPackage, kPtfPhysical}) {
        if (global)
            Box(id)->setChecked(false);
        Box(id)->setEnabled(!global);
    }
}

void CPropertyPP::OnPtfPackageOrPhysical() {
    QCheckBox* global = Box(kPtfGlobal);
    if (!Box(kPtfPackage)->isChecked() && !Box(kPtfPhysical)->isChecked()) {
        global->setEnabled(true);
    } else {
        global->setEnabled(false);
        global->setChecked(false);
    }
}

void CPropertyPP::OnAdd() {
    const int row = m_pGrid->GetRowCount() + 1;
    m_pGrid->InsertRows(row, 1);
    m_pGrid->SetRowChoices(row);
    m_pGrid->scrollToItem(m_pGrid->item(row, CPropertyGridWnd::kName));
}

void CPropertyPP::OnDelete() {
    CPropertyGridWnd& grid = *m_pGrid;
    int row = 0;
    int col = 0;
    if (!grid.GetCurrentCell(row, col) || row == 0)
        return;
    // The property the row stands for, not whichever one has the name typed into it.
    if (grid.SelectRowProperty(row))
        Store().DeleteCurrentProperty();
    grid.RemoveRows(row, row);
    const int target = row == 1 ? 1 : row - 1;
    grid.m_nEditRow = 0; // nothing to commit for the deleted row
    grid.SetCurrentCell(target, CPropertyGridWnd::kName);
    if (TrimBlanks(grid.GetCellText(target, CPropertyGridWnd::kName)).empty())
        DisableDeleteButton(1);
}
