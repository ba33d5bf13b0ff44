#include "ui/symbol_page.h"

#include "host/host_services.h"
#include "persist/setting_checks.h"
#include "setup/number_text.h"
#include "setup/setting_rules.h"
#include "setup/setting_tables.h"
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
QComboBox* SortedDropDownList(QWidget* parent, int id, WordList words) {
    auto* combo = WithId(new QComboBox(parent), id);
    QStringList sorted;
    for (const SettingWord& word : words) {
        sorted << word.text;
    }
    sorted.sort(Qt::CaseInsensitive);
    combo->addItems(sorted);
    return combo;
}

// The fields' texts go through the checks of the keys they set.
Refusal RefusalFor(const char* key) {
    return [key](const std::string& text) { return FieldRefusal(key, text); };
}

QLineEdit* NumberEdit(QWidget* parent, int id) {
    auto* edit = WithId(new QLineEdit(parent), id);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12);
    return edit;
}

} // namespace

CSymbolPP::CSymbolPP(CPFCoreSetupAPI& store, QWidget* parent)
    : SetupPage(store, "Sy&mbol", kHelpContextId, parent),
      units_(SortedDropDownList(this, kUnits, kUnitWords)),
      textStyle_(SortedDropDownList(this, kTextStyle, kTextStyleWords)),
      outline_(SortedDropDownList(this, kOutline, kOutlineWords)),
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
        if (inGrids) {
            grid->addWidget(MakeLabel("grids", this), row, 3);
        }
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
    grid->setColumnStretch(2, 1); // the fields take the room a larger dialog gives

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

    SetTabChain({units_, gridSize_, outline_, textStyle_, pinTextSize_, minWidth_, minHeight_,
                 pinSpacingTopBottom_, pinSpacingLeftRight_, usePinNames_, splitInst_.Button(0),
                 splitInst_.Button(1)});
}

void CSymbolPP::LoadFrom(CPFCoreSetupAPI& store) {
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
    UpdateData(false);
    // A text a read could not take as written is shown as the file has it.
    for (const auto& [control, key] : KeyedFields()) {
        const std::string* text = FileText(key);
        if (!text) {
            continue;
        }
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(ToQString(*text));
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            if (combo->findText(ToQString(*text)) < 0) {
                combo->addItem(ToQString(*text));
            }
            combo->setCurrentIndex(combo->findText(ToQString(*text)));
        }
    }
}

std::vector<std::pair<QWidget*, const char*>> CSymbolPP::KeyedFields() const {
    return {{units_, "Symbol_Units"},
            {gridSize_, "Symbol_GridSize"},
            {outline_, "Symbol_OutLine"},
            {textStyle_, "Symbol_TextStyle"},
            {pinTextSize_, "Symbol_NoteSize"},
            {minWidth_, "Symbol_Width"},
            {minHeight_, "Symbol_Length"},
            {pinSpacingTopBottom_, "Symbol_PinSpacing_TopBottom"},
            {pinSpacingLeftRight_, "Symbol_PinSpacing_LeftRight"},
            {usePinNames_, "Symbol_UsePinNamesForText"}};
}

void CSymbolPP::UpdateTips() {
    for (const auto& [control, key] : KeyedFields()) {
        SetTip(control, key);
    }
    SetTip(splitInst_.Button(0), "UseSplitInstProp", "1");
    SetTip(splitInst_.Button(1), "UseSplitInstProp", "0");
}

bool CSymbolPP::Refuse(const std::string& message, pfsetup::MessageIcon icon, QLineEdit* edit) {
    Host().ShowMessage(message, icon, MessageButtons::Ok);
    PointAt(edit);
    return false;
}

bool CSymbolPP::OnKillActive() {
    // A decimal comma the locale does not use would read as a smaller number: say so first.
    for (auto [edit, key] :
         {std::pair{gridSize_, "Symbol_GridSize"}, std::pair{pinTextSize_, "Symbol_NoteSize"}}) {
        const std::string text = NumberText(edit);
        if (Edited(edit) && text.find(',') != std::string::npos) {
            return Refuse(FieldRefusal(key, text), MessageIcon::Exclamation, edit);
        }
    }
    auto number = [](const QLineEdit* edit) { return LeadingNumber(NumberText(edit)); };
    const double pinTextSize = number(pinTextSize_);
    const double grid = number(gridSize_);
    const double leftRight = number(pinSpacingLeftRight_);
    const double topBottom = number(pinSpacingTopBottom_);

    if (const char* problem = SymbolSizesProblem(pinTextSize, grid, leftRight, topBottom)) {
        // Focus the field the message is about.
        QLineEdit* field = pinTextSize_;
        if (problem == kBadGridSize) {
            field = gridSize_;
        } else if (problem == kBadPinSpacing) {
            field = leftRight <= 0 ? pinSpacingLeftRight_ : pinSpacingTopBottom_;
        }
        return Refuse(problem, MessageIcon::Stop, field);
    }
    return PropertyPage::OnKillActive();
}

// A field left as it was loaded keeps its value: what the store holds, or a text the files hold
// that a read takes otherwise, is neither checked nor taken.
bool CSymbolPP::DoDataExchange(bool save) {
    auto exchanged = [&](const QWidget* control) { return !save || Edited(control); };
    for (auto [combo, value] : {std::pair{units_, &m_strUnits},
                                {textStyle_, &m_strTextStyle},
                                {outline_, &m_strOutline}}) {
        if (exchanged(combo)) {
            ExchangeComboText(save, combo, *value);
        }
    }
    auto number = [&](QLineEdit* edit, auto& value, const char* key) {
        return !exchanged(edit) || ExchangeNumber(save, edit, value, RefusalFor(key));
    };
    // The first refused number ends the exchange, leaving the later fields as they were.
    if (!number(gridSize_, m_fGridSize, "Symbol_GridSize") ||
        !number(pinSpacingLeftRight_, m_nPinSpacingLeftRight, "Symbol_PinSpacing_LeftRight") ||
        !number(pinSpacingTopBottom_, m_nPinSpacingTopBottom, "Symbol_PinSpacing_TopBottom") ||
        !number(pinTextSize_, m_fPinTextSize, "Symbol_NoteSize") ||
        !number(minWidth_, m_nMinWidth, "Symbol_Width") ||
        !number(minHeight_, m_nMinHeight, "Symbol_Length")) {
        return false;
    }
    if (exchanged(usePinNames_)) {
        ExchangeCheck(save, usePinNames_, m_bUsePinNames);
    }
    if (exchanged(splitInst_.Button(0)) || exchanged(splitInst_.Button(1))) {
        int splitIndex = m_bUseSplitInst ? 0 : 1;
        ExchangeRadio(save, splitInst_, splitIndex);
        m_bUseSplitInst = splitIndex == 0 ? 1 : 0;
    }
    return true;
}

void TransferSymbolPage(CSymbolPP& page) {
    if (!page.m_bInitialised) {
        return;
    }
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
