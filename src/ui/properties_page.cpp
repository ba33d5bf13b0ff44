#include "ui/properties_page.h"

#include "base/ascii_text.h"
#include "persist/settings_entries.h"
#include "setup/number_text.h"
#include "setup/record_fields.h"
#include "setup/setting_tables.h"
#include "setup/setup_store.h"
#include "ui/kit/control.h"
#include "ui/setting_sources.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <tuple>

using namespace pfsetup;

namespace {

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

bool SameProperty(const PropertyFields& a, const PropertyFields& b) {
    return std::tie(a.name, a.value, a.required, a.visibility, a.alignment, a.type) ==
           std::tie(b.name, b.value, b.required, b.visibility, b.alignment, b.type);
}

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
            if (!*context.reserved) {
                continue;
            }
            tip += std::string("\nNot as a ") + context.words + " property:";
            for (const char* const* reserved = context.reserved; *reserved; ++reserved) {
                tip += std::string(reserved == context.reserved ? " " : ", ") + *reserved;
            }
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
            if (column) {
                column->addStretch(1);
            }
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

    for (int id : {kSymbol, kSymbolPin}) {
        connect(Box(id), &QCheckBox::clicked, this, [this, id] { OnSymbolGroup(id); });
    }
    connect(Box(kPtfGlobal), &QCheckBox::clicked, this, [this] { OnPtfGlobal(); });
    for (int id : {kPtfPackage, kPtfPhysical}) {
        connect(Box(id), &QCheckBox::clicked, this, [this] { OnPtfPackageOrPhysical(); });
    }
    connect(add, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(delete_, &QPushButton::clicked, this, [this] { OnDelete(); });

    SetTabChain({m_pGrid, add, delete_, Box(kSymbol), Box(kSymbolPin), Box(kPackage),
                 Box(kPackagePin), Box(kPtfGlobal), Box(kPtfPackage), Box(kPtfPhysical)});
}

QCheckBox* CPropertyPP::Box(int id) const {
    return FindControl<QCheckBox>(this, id);
}

bool CPropertyPP::OnInitDialog() {
    if (m_bTemplateMode) {
        for (int id : {kSymbolPin, kPackagePin, kPtfGlobal, kPtfPhysical, kPtfPackage}) {
            Box(id)->setEnabled(false);
        }
    }
    return SetupPage::OnInitDialog();
}

// The store's properties, each as its fields.
std::vector<PropertyFields> CPropertyPP::StoredProperties() const {
    CPFCoreSetupAPI& store = Store();
    std::vector<PropertyFields> properties;
    store.InitPropertyIteration();
    store.SetPropertyContext(PFSetupContextAll);
    while (store.GetNextProperty()) {
        properties.push_back(CurrentPropertyFields(store));
    }
    return properties;
}

void CPropertyPP::LoadFrom(CPFCoreSetupAPI& source) {
    CPFCoreSetupAPI& store = Store();
    if (&source == &store) {
        shown_ = StoredProperties();
    } else {
        store.ClearProperties();
        source.InitPropertyIteration();
        source.SetPropertyContext(PFSetupContextAll);
        while (source.GetNextProperty()) {
            const PropertyFields p = CurrentPropertyFields(source);
            if (!store.CreateProperty(p.name)) {
                continue;
            }
            store.PutPropertyValue(p.value);
            store.PutPropertyRequired(p.required);
            store.PutPropertyAlignment(p.alignment);
            store.PutPropertyVisibility(p.visibility);
            store.PutPropertyType(p.type);
        }
    }
    m_pGrid->Fill();
}

std::string CPropertyPP::FieldsHelp() {
    std::string help;
    for (int col : {CPropertyGridWnd::kName, CPropertyGridWnd::kValue, CPropertyGridWnd::kVisible,
                    CPropertyGridWnd::kAlign}) {
        help += ColumnTip(col, "") + "\n\n";
    }
    for (const PropertyContextRow& context : kPropertyContexts) {
        std::string box = std::string(context.caption) + " in " + context.group;
        box.erase(std::remove(box.begin(), box.end(), '&'), box.end());
        help += box + ": " + TypeBoxTip(context) + "\n";
    }
    return help;
}

bool CPropertyPP::IsModified() const {
    if (!m_bInitialised) {
        return false;
    }
    const std::vector<PropertyFields> now = StoredProperties();
    return m_pGrid->HasPendingEdit() ||
           !std::equal(now.begin(), now.end(), shown_.begin(), shown_.end(), SameProperty);
}

std::vector<std::string> CPropertyPP::FileFields(const PropertyFields& property) const {
    const std::string* text = FileText("Prop_" + property.name);
    if (!text || std::none_of(shown_.begin(), shown_.end(), [&](const PropertyFields& shown) {
            return SameProperty(shown, property);
        })) {
        return {};
    }
    std::vector<std::string> fields = SplitPropertyFields(*text);
    return fields.size() == 5 ? fields : std::vector<std::string>();
}

void CPropertyPP::SetRowTips(int row) {
    const std::string name = Trimmed(m_pGrid->GetCellText(row, CPropertyGridWnd::kName));
    const std::string origin = name.empty() ? std::string() : OriginText("Prop_" + name);
    for (int col : {CPropertyGridWnd::kName, CPropertyGridWnd::kValue, CPropertyGridWnd::kVisible,
                    CPropertyGridWnd::kAlign}) {
        m_pGrid->item(row, col)->setToolTip(ToQString(FieldTip(ColumnTip(col, name), origin)));
    }
}

void CPropertyPP::UpdateTips() {
    for (int row = 1; row <= m_pGrid->GetRowCount(); ++row) {
        SetRowTips(row);
    }
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
    if (!m_bInitialised) {
        return;
    }
    m_pGrid->TransferCurrentCell();
    m_pGrid->CommitEditRow();
}

void CPropertyPP::SetTypeCheckboxes(int mask) {
    for (const TypeBox& type : kTypeBoxes) {
        if (type.bit <= PFSetupContextPackagePin) {
            Box(type.id)->setChecked(mask & type.bit);
        }
    }
    QCheckBox* global = Box(kPtfGlobal);
    QCheckBox* package = Box(kPtfPackage);
    QCheckBox* physical = Box(kPtfPhysical);
    const bool editable = !m_bTemplateMode;
    // Global excludes the other two part-table contexts.
    if (mask & PFSetupContextPtfGlobal) {
        if (editable) {
            global->setEnabled(true);
        }
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
        if (mask & bit) {
            global->setEnabled(false);
        }
    }
}

int CPropertyPP::GetTypeFromCheckboxes() const {
    int mask = 0;
    for (const TypeBox& type : kTypeBoxes) {
        if (Box(type.id)->isChecked()) {
            mask |= type.bit;
        }
    }
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
    if (!Box(kSymbol)->isChecked()) {
        return;
    }
    Box(kSymbol)->setChecked(false);
    OnSymbolGroup(kSymbol);
}

void CPropertyPP::ClearSymbolAttributeCells() {
    m_pGrid->ClearSymbolAttributeCells();
}

void CPropertyPP::RestoreSymbolAttributeChoices() {
    m_pGrid->RestoreSymbolAttributeChoices();
}

void CPropertyPP::OnSymbolGroup(int clicked) {
    const bool symbol = Box(kSymbol)->isChecked();
    const bool pin = Box(kSymbolPin)->isChecked();
    if (!symbol && !pin) {
        ClearSymbolAttributeCells();
    } else if (symbol != pin && Box(clicked)->isChecked()) {
        RestoreSymbolAttributeChoices();
    }
}

void CPropertyPP::OnPtfGlobal() {
    const bool global = Box(kPtfGlobal)->isChecked();
    for (int id : {kPtfPackage, kPtfPhysical}) {
        if (global) {
            Box(id)->setChecked(false);
        }
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
    if (const int row = m_pGrid->AddRow()) {
        SetRowTips(row);
    }
}

void CPropertyPP::OnDelete() {
    m_pGrid->DeleteCurrentRow();
}
