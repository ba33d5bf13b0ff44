#include "ui/properties_page.h"

#include "base/ascii_text.h"
#include "host/host_services.h"
#include "setup/number_text.h"
#include "setup/record_fields.h"
#include "setup/setting_rules.h"
#include "setup/setting_tables.h"
#include "setup/setup_store.h"
#include "ui/kit/control.h"
#include "ui/setting_sources.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

using namespace pfsetup;

namespace {

const std::string kRequiredChoices = WordList(kRequiredWords).Lines();
const std::string kVisibilityChoices = WordList(kVisibilityWords).Lines();
const std::string kAlignmentChoices = WordList(kAlignmentWords).Lines();

// Properties placed on the symbol or on its pins show a visibility and an alignment.
constexpr int kSymbolBits = PFSetupContextSymbol | PFSetupContextSymbolPin;

// The check box of each context bit.
struct TypeBox {
    int id;
    int bit;
};
constexpr TypeBox kTypeBoxes[] = {
    {CPropertyPP::kSymbol, PFSetupContextSymbol},
    {CPropertyPP::kSymbolPin, PFSetupContextSymbolPin},
    {CPropertyPP::kPackage, PFSetupContextPackage},
    {CPropertyPP::kPackagePin, PFSetupContextPackagePin},
    {CPropertyPP::kPtfGlobal, PFSetupContextPtfGlobal},
    {CPropertyPP::kPtfPackage, PFSetupContextPtfPackage},
    {CPropertyPP::kPtfPhysical, PFSetupContextPtfPhysical},
};

std::string KeyOf(const std::string& name) {
    return "Prop_" + (name.empty() ? std::string("<NAME>") : name);
}

std::string TypeBoxTip(const PropertyContextRow& context) {
    return std::string("Checked: the property of the current row is a ") + context.words +
           " property" +
           (context.bit == PFSetupContextPtfGlobal ? " (not with part table package or physical)"
                                                   : "") +
           ".\nAdds " + FormatInt(context.bit) + " to the type of its Prop_ key.";
}

// What each column allows and the key it sets, for the tips.
std::string ColumnTip(int col, const std::string& name) {
    const std::string key = KeyOf(name);
    switch (col) {
    case CPropertyGridWnd::kName: {
        std::string tip = "Property name: letters, digits, \"_\" and \"$\", kept in upper case.";
        for (const PropertyContextRow& context : kPropertyContexts) {
            if (!*context.reserved)
                continue;
            tip += std::string("\nNot as a ") + context.words + " property:";
            for (const char* const* reserved = context.reserved; *reserved; ++reserved)
                tip += std::string(reserved == context.reserved ? " " : ", ") + *reserved;
            tip += ".";
        }
        return tip + "\nSets the key " + key + ".";
    }
    case CPropertyGridWnd::kValue:
        return "Default value: text on one line without \", ! or '. A POWER_GROUP value of a "
               "symbol or package property is a list NAME=VALUE,NAME=VALUE.\nSets the value of " +
               key + ".";
    case CPropertyGridWnd::kVisible:
        return "What the symbol shows of the property: " + WordList(kVisibilityWords).Listed() +
               ". Only for symbol and symbol pin properties.\nSets the visibility of " + key + ".";
    default:
        return "How the property's text is aligned: " + WordList(kAlignmentWords).Listed() +
               ". Only for symbol and symbol pin properties.\nSets the alignment of " + key + ".";
    }
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
    for (int row = 1; row <= kInitialRows; ++row)
        SetRowChoices(row);
}

void CPropertyGridWnd::Fill() {
    m_nEditRow = 0;
    m_bNewRow = 0;
    boundName_.clear();
    RemoveRows(1, GetRowCount());
    InsertRows(1, kInitialRows);
    for (int row = 1; row <= kInitialRows; ++row)
        SetRowChoices(row);

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
    for (int row = GetRowCount(); row >= 1; --row)
        if (!TrimBlanks(GetCellText(row, kName)).empty() ||
            !TrimBlanks(GetCellText(row, kValue)).empty())
            return row;
    return 0;
}

// The rows in use and one blank row to start a new property in, or the row the user is in.
int CPropertyGridWnd::LastTabRow() const {
    int last = LastUsedRow() + 1;
    int row = 0;
    int col = 0;
    if (GetCurrentCell(row, col))
        last = std::max(last, row);
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
        text = UpperCopy(text);
    text = TrimBlanks(text);
    SetCellText(row, col, text);
    // A new row may lose its name again: it is abandoned, or asks for a name when left.
    if (col == kName && text.empty() && m_bNewRow && row == m_nEditRow)
        return true;

    // The contexts of the row are checked when the row is left.
    const int context = page_.Store().GetPFCorePropertyContext();
    const std::string error = col == kName
                                  ? PropertyNameRefusal(text, context)
                                  : PropertyValueRefusal(GetCellText(row, kName), text, context);
    if (error.empty())
        return true;
    // The text stays, so the user can correct it; the grid keeps them in the cell.
    Host().ShowMessage(error, MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

bool CPropertyGridWnd::OnValidateRow(int row, int& fixCol) {
    return row != m_nEditRow || CheckEditRow(fixCol);
}

bool CPropertyGridWnd::CheckEditRow(int& fixCol) {
    const int row = m_nEditRow;
    if (row < 1 || row > GetRowCount())
        return true;
    const std::string name = TrimBlanks(GetCellText(row, kName));
    fixCol = kName;
    if (name.empty()) {
        if (!m_bNewRow || TrimBlanks(GetCellText(row, kValue)).empty())
            return true; // nothing typed, or the row gives its property back
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
    const std::string refusal =
        PropertyRefusal(name, GetCellText(row, kValue), page_.GetTypeFromCheckboxes(), &inValue);
    if (refusal.empty())
        return true;
    Host().ShowMessage(refusal, MessageIcon::Exclamation, MessageButtons::Ok);
    if (inValue)
        fixCol = kValue;
    return false;
}

// The Delete key deletes the row, as the Delete button does.
void CPropertyGridWnd::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier &&
        state() != EditingState) {
        if (FindControl(&page_, CPropertyPP::kDelete)->isEnabled())
            page_.OnDelete();
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
    : SetupPage(store, "Proper&ty", kHelpContextId, parent),
      m_pGrid(WithId(new CPropertyGridWnd(*this), kGrid)),
      delete_(WithId(new QPushButton("&Delete", this), kDelete)) {
    auto* add = WithId(new QPushButton("&Add", this), kAdd);
    const QSize content = m_pGrid->ContentSize();
    m_pGrid->setMinimumSize(content.width() + m_pGrid->verticalScrollBar()->sizeHint().width(),
                            content.height() / 2);
    // A larger dialog widens the values.
    m_pGrid->horizontalHeader()->setSectionResizeMode(CPropertyGridWnd::kValue,
                                                      QHeaderView::Stretch);

    // One group box for each group of contexts, a check box for each context.
    auto* groups = new QHBoxLayout;
    QGroupBox* box = nullptr;
    QVBoxLayout* column = nullptr;
    for (const TypeBox& type : kTypeBoxes) {
        const PropertyContextRow& context = *ContextOfBit(type.bit);
        if (!box || box->title() != QLatin1String(context.group)) {
            if (column)
                column->addStretch(1);
            box = new QGroupBox(context.group, this);
            column = new QVBoxLayout(box);
            groups->addWidget(box);
        }
        auto* check = WithId(new QCheckBox(context.caption, box), type.id);
        check->setToolTip(ToQString(TypeBoxTip(context)));
        column->addWidget(check);
    }
    column->addStretch(1);

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

    SetTabChain({m_pGrid, add, delete_, Box(kSymbol), Box(kSymbolPin), Box(kPackage),
                 Box(kPackagePin), Box(kPtfGlobal), Box(kPtfPackage), Box(kPtfPhysical)});
}

QCheckBox* CPropertyPP::Box(int id) const {
    return FindControl<QCheckBox>(this, id);
}

bool CPropertyPP::OnInitDialog() {
    if (m_bTemplateMode)
        for (int id : {kSymbolPin, kPackagePin, kPtfGlobal, kPtfPhysical, kPtfPackage})
            Box(id)->setEnabled(false);
    return SetupPage::OnInitDialog();
}

void CPropertyPP::LoadFrom(CPFCoreSetupAPI& source) {
    CPFCoreSetupAPI& store = Store();
    if (&source != &store) {
        store.ClearProperties();
        source.InitPropertyIteration();
        source.SetPropertyContext(PFSetupContextAll);
        while (source.GetNextProperty()) {
            const PropertyFields p = CurrentPropertyFields(source);
            if (!store.CreateProperty(p.name))
                continue;
            store.PutPropertyValue(p.value);
            store.PutPropertyRequired(p.required);
            store.PutPropertyAlignment(p.alignment);
            store.PutPropertyVisibility(p.visibility);
            store.PutPropertyType(p.type);
        }
    }
    m_pGrid->Fill();
}

void CPropertyPP::SetRowTips(int row) {
    const std::string name = TrimBlanks(m_pGrid->GetCellText(row, CPropertyGridWnd::kName));
    const std::string origin = name.empty() ? std::string() : OriginText("Prop_" + name);
    for (int col : {CPropertyGridWnd::kName, CPropertyGridWnd::kValue, CPropertyGridWnd::kVisible,
                    CPropertyGridWnd::kAlign})
        m_pGrid->item(row, col)->setToolTip(ToQString(FieldTip(ColumnTip(col, name), origin)));
}

void CPropertyPP::UpdateTips() {
    for (int row = 1; row <= m_pGrid->GetRowCount(); ++row)
        SetRowTips(row);
}

bool CPropertyPP::OnKillActive() {
    if (m_bInitialised && !m_pGrid->TransferCurrentCell()) {
        PointAt(m_pGrid);
        return false;
    }
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

void CPropertyPP::ClearSymbolCheckbox() {
    if (!Box(kSymbol)->isChecked())
        return;
    Box(kSymbol)->setChecked(false);
    OnSymbolGroup(kSymbol);
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
    CPropertyGridWnd& grid = *m_pGrid;
    // The row being edited is left as by any move: a refusal keeps the user there.
    if (!grid.TransferCurrentCell())
        return;
    const int row = grid.LastUsedRow() + 1;
    grid.InsertRows(row, 1);
    if (grid.m_nEditRow >= row)
        ++grid.m_nEditRow;
    grid.SetRowChoices(row);
    SetRowTips(row);
    SetModified(); // also when Add was reached without a click
    grid.setFocus(Qt::OtherFocusReason);
    grid.SetCurrentCell(row, CPropertyGridWnd::kName);
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
    SetModified(); // the Delete key too
    grid.RemoveRows(row, row);
    const int target = row == 1 ? 1 : row - 1;
    grid.m_nEditRow = 0; // nothing to commit for the deleted row
    grid.SetCurrentCell(target, CPropertyGridWnd::kName);
    if (TrimBlanks(grid.GetCellText(target, CPropertyGridWnd::kName)).empty())
        DisableDeleteButton(1);
}
