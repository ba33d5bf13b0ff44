#include "ui/symbol_page.h"

#include "setup/setting_rules.h"

#include "host/host_services.h"
#include "setup/setup_store.h"
#include "ui/kit/control.h"
#include "ui/kit/data_exchange.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace pfsetup;

namespace {

// The framework's sorted drop-down list: the user picks one of the entries, shown in
// alphabetical order whatever order they were added in.
QComboBox* SortedDropDownList(QWidget* parent, int id, const QStringList& entries) {
    auto* combo = WithId(new QComboBox(parent), id);
    QStringList sorted = entries;
    sorted.sort(Qt::CaseInsensitive);
    combo->addItems(sorted);
    return combo;
}

QLineEdit* NumberEdit(QWidget* parent, int id) {
    auto* edit = WithId(new QLineEdit(parent), id);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12);
    return edit;
}

} // namespace

CSymbolPP::CSymbolPP(CPFCoreSetupAPI& store, QWidget* parent)
    : PropertyPage(store, "Sy&mbol", kHelpContextId, parent),
      units_(SortedDropDownList(this, kUnits, {"Inches"})),
      textStyle_(SortedDropDownList(this, kTextStyle, {"Automatic", "Vertical", "Horizontal"})),
      outline_(SortedDropDownList(this, kOutline, {"Thin", "Bold"})),
      gridSize_(NumberEdit(this, kGridSize)),
      pinSpacingLeftRight_(NumberEdit(this, kPinSpacingLeftRight)),
      pinSpacingTopBottom_(NumberEdit(this, kPinSpacingTopBottom)),
      pinTextSize_(NumberEdit(this, kPinTextSize)), minWidth_(NumberEdit(this, kMinWidth)),
      minHeight_(NumberEdit(this, kMinHeight)),
      usePinNames_(WithId(new QCheckBox("Use Pin &Names for Pin Text", this), kUsePinNames)),
      splitInst_(this) {
    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const char* label, const char* subLabel, QWidget* control, bool inGrids,
                      bool buddyOnSubLabel = false) {
        QLabel* main = MakeLabel(label, this, buddyOnSubLabel ? nullptr : control);
        if (subLabel) {
            grid->addWidget(main, row, 0);
            grid->addWidget(MakeLabel(subLabel, this, buddyOnSubLabel ? control : nullptr), row, 1);
        } else {
            grid->addWidget(main, row, 0, 1, 2);
        }
        grid->addWidget(control, row, 2);
        if (inGrids)
            grid->addWidget(MakeLabel("grids", this), row, 3);
        ++row;
    };
    addRow("&Units", nullptr, units_, false);
    addRow("&Grid", nullptr, gridSize_, false);
    addRow("&Symbol Outline", nullptr, outline_, false);
    addRow("Pin Text", "&Orientation", textStyle_, false, true);
    addRow("Pin Text Si&ze", nullptr, pinTextSize_, true);
    addRow("Minimum Symbol &Width", nullptr, minWidth_, true);
    addRow("Minimum Symbol &Height", nullptr, minHeight_, true);
    addRow("Minimum Pin Spacing", "Top/&Bottom", pinSpacingTopBottom_, true, true);
    addRow("Minimum Pin Spa&cing", "Left/Right", pinSpacingLeftRight_, true);
    grid->addWidget(usePinNames_, row++, 0, 1, 4);
    grid->setColumnStretch(4, 1);

    auto* split = new QGroupBox("Split Symbol Properties", this);
    auto* splitLayout = new QVBoxLayout(split);
    for (auto [id, caption] : {std::pair{kUseSplitInst, "Use S&PLIT_INST && $LOCATION"},
                               std::pair{kUseSplitInstName, "Use SPL&IT_INST_NAME"}}) {
        auto* radio = WithId(new QRadioButton(caption, split), id);
        splitInst_.Add(radio);
        splitLayout->addWidget(radio);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(split);
    layout->addStretch(1);
}

bool CSymbolPP::OnInitDialog() {
    PropertyPage::OnInitDialog();
    CPFCoreSetupAPI& store = Store();
    store.GetDefGridSize(m_fGridSize);
    store.GetDefUnits(m_strUnits);
    store.GetDefNoteSize(m_fPinTextSize);
    store.GetDefSymbolOutLine(m_strOutline);
    store.GetDefTextStyle(m_strTextStyle);
    store.GetDefSymbolWidth(m_nMinWidth);
    store.GetDefSymbolLength(m_nMinHeight);
    store.GetDefSymbolWidthIncrement(m_nPinSpacingTopBottom);
    store.GetDefSymbolLengthIncrement(m_nPinSpacingLeftRight);
    m_bUseSplitInst = store.GetUseSplitInstProp();
    m_bUsePinNames = store.GetUsePinNamesForText();
    splitInst_.SetIndex(m_bUseSplitInst ? 0 : 1);
    UpdateData(false);
    return true;
}

bool CSymbolPP::Refuse(const char* message, QLineEdit* edit) {
    Host().ShowMessage(message, MessageIcon::Stop, MessageButtons::Ok);
    edit->setFocus();
    edit->selectAll();
    return false;
}

bool CSymbolPP::OnKillActive() {
    auto number = [](const QLineEdit* edit) { return LeadingNumber(ToStdString(edit->text())); };
    const double pinTextSize = number(pinTextSize_);
    const double grid = number(gridSize_);
    const double leftRight = number(pinSpacingLeftRight_);
    const double topBottom = number(pinSpacingTopBottom_);

    if (const char* problem = SymbolSizesProblem(pinTextSize, grid, leftRight, topBottom)) {
        // Focus the field the message is about.
        const std::string text = problem;
        QLineEdit* field = pinTextSize_;
        if (text == "\nError - Incorrect grid size")
            field = gridSize_;
        else if (text == "\nError - Incorrect pin spacing")
            field = leftRight <= 0 ? pinSpacingLeftRight_ : pinSpacingTopBottom_;
        return Refuse(problem, field);
    }
    m_bUseSplitInst = splitInst_.Index() == 0 ? 1 : 0;
    return PropertyPage::OnKillActive();
}

bool CSymbolPP::DoDataExchange(bool save) {
    ExchangeComboText(save, units_, m_strUnits);
    ExchangeComboText(save, textStyle_, m_strTextStyle);
    ExchangeComboText(save, outline_, m_strOutline);
    // The first refused number ends the exchange, leaving the later fields as they were.
    if (!ExchangeFloat(save, gridSize_, m_fGridSize) ||
        !ExchangeInt(save, pinSpacingLeftRight_, m_nPinSpacingLeftRight) ||
        !ExchangeInt(save, pinSpacingTopBottom_, m_nPinSpacingTopBottom) ||
        !ExchangeFloat(save, pinTextSize_, m_fPinTextSize) ||
        !ExchangeInt(save, minWidth_, m_nMinWidth) || !ExchangeInt(save, minHeight_, m_nMinHeight))
        return false;
    ExchangeCheck(save, usePinNames_, m_bUsePinNames);
    return true;
}

void TransferSymbolPage(CSymbolPP& page) {
    if (!page.m_bInitialised)
        return;
    CPFCoreSetupAPI& store = page.Store();
    store.PutDefGridSize(page.m_fGridSize);
    store.PutDefNoteSize(page.m_fPinTextSize);
    store.PutDefUnits(page.m_strUnits);
    store.PutDefSymbolOutLine(page.m_strOutline);
    store.PutDefTextStyle(page.m_strTextStyle);
    store.PutDefSymbolWidth(page.m_nMinWidth);
    store.PutDefSymbolLength(page.m_nMinHeight);
    store.PutDefSymbolWidthIncrement(page.m_nPinSpacingTopBottom);
    store.PutDefSymbolLengthIncrement(page.m_nPinSpacingLeftRight);
    store.PutUsePinNamesForText(page.m_bUsePinNames);
    store.PutUseSplitInstProp(page.m_bUseSplitInst);
}
