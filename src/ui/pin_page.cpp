#include "ui/pin_page.h"

#include "base/ascii_text.h"
#include "host/host_services.h"
#include "persist/setting_checks.h"
#include "persist/settings_entries.h"
#include "setup/record_fields.h"
#include "setup/setting_rules.h"
#include "setup/setting_tables.h"
#include "setup/setup_store.h"
#include "ui/kit/control.h"
#include "ui/kit/data_exchange.h"
#include "ui/setting_sources.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include <iterator>
#include <utility>

using namespace pfsetup;

namespace {

static_assert(CPinGridWnd::kFirstPinRow + static_cast<int>(std::size(kPinTypes)) - 1 ==
              CPinGridWnd::kLastPinRow);

using Column = CPinGridWnd::Column;

// The load column (0 Iil to 3 Ioh) of a grid column.
int LoadColumnOf(int col) {
    return col - Column::kIil;
}

std::string PinLoadTip(const std::string& pinType, int column) {
    std::string what = kLoadColumns[column].words;
    what[0] = AsciiUpper(what[0]);
    return what + " of " + pinType + " pins: " + LoadAllowedText(column, false) +
           "; left empty it is \"*\".\nSets PinType_" + pinType + ".";
}

} // namespace

bool CPinGridWnd::OnValidateCell(int row, int col) {
    if (row < kFirstPinRow || col < kIil) {
        return true;
    }
    std::string text = NumberText(GetCellText(row, col));
    if (text.empty()) {
        text = "*";
    }
    SetCellText(row, col, text);
    const std::string type = GetCellText(row, kPinType);
    const std::string refusal = PinLoadRefusal(type, LoadColumnOf(col), text);
    if (refusal.empty()) {
        return true;
    }
    // A comma cannot stand in a load of the files, which separate loads by commas.
    Host().ShowMessage(
        text.find(',') != std::string::npos
            ? refusal + "\nuse a decimal point, not a comma"
            : DialogRefusal(refusal, "PinType_" + type, LoadEntryValue(LoadColumnOf(col), text)),
        MessageIcon::None, MessageButtons::Ok);
    return false;
}

// The grid's layout is made with the page, so the sheet is sized for it from the start; the
// store's values come in when the page is first shown.
CPinPP::CPinPP(CPFCoreSetupAPI& store, QWidget* parent)
    : SetupPage(store, "Pi&n", kHelpContextId, parent),
      m_pGrid(WithId(new CPinGridWnd(this), kGrid)) {
    CPinGridWnd& grid = *m_pGrid;
    grid.Initialize(CPinGridWnd::kLastPinRow, Column::kIoh);
    grid.SetHeaderRows(2);
    grid.JoinCells(0, Column::kPinType, 1, Column::kPinType);
    grid.JoinCells(0, Column::kPosition, 1, Column::kPosition);
    grid.JoinCells(0, Column::kIil, 0, Column::kIih);
    grid.JoinCells(0, Column::kIol, 0, Column::kIoh);
    grid.SetCellText(0, Column::kPinType, "Pin Type");
    grid.SetCellText(0, Column::kPosition, "Position");
    grid.SetCellText(0, Column::kIil, "Input Load");
    grid.SetCellText(0, Column::kIol, "Output Load ");
    grid.SetCellText(1, Column::kIil, "Low");
    grid.SetCellText(1, Column::kIih, "High");
    grid.SetCellText(1, Column::kIol, "Low");
    grid.SetCellText(1, Column::kIoh, "High");

    int row = CPinGridWnd::kFirstPinRow;
    for (const PinTypeRow& pin : kPinTypes) {
        grid.SetCellText(row, Column::kPinType, pin.name);
        grid.SetChoiceList(row, Column::kPosition, WordList(kPositionWords).Lines());
        if (!pin.inputLoads) {
            grid.SetStaticDisabled(row, Column::kIil);
            grid.SetStaticDisabled(row, Column::kIih);
        }
        if (!pin.outputLoads) {
            grid.SetStaticDisabled(row, Column::kIol);
            grid.SetStaticDisabled(row, Column::kIoh);
        }
        ++row;
    }
    grid.setColumnWidth(Column::kPinType, grid.ScaledWidth(90));
    for (int col = Column::kPosition; col <= Column::kIol; ++col) {
        grid.setColumnWidth(col, grid.ScaledWidth(60));
    }
    grid.setColumnWidth(Column::kIoh, grid.ScaledWidth(80));
    grid.setMinimumSize(grid.ContentSize());
    // A larger dialog widens the position and load columns.
    for (int col = Column::kPosition; col <= Column::kIoh; ++col) {
        grid.horizontalHeader()->setSectionResizeMode(col, QHeaderView::Stretch);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pGrid, 1);
}

void CPinPP::LoadFrom(CPFCoreSetupAPI& store) {
    int row = CPinGridWnd::kFirstPinRow;
    for (const PinTypeRow& pin : kPinTypes) {
        if (store.SetCurrentPinByValue(pin.name)) {
            const PinTypeFields fields = CurrentPinTypeFields(store);
            // Loads are held as written; a side the store does not know is shown as written.
            const std::string* text = FileText(std::string("PinType_") + pin.name);
            const std::vector<std::string> written =
                text ? SplitAtCommas(*text) : std::vector<std::string>();
            m_pGrid->SetCellText(row, Column::kPosition,
                                 written.size() == 5 ? written[4] : fields.position);
            m_pGrid->SetCellText(row, Column::kIil, fields.iil);
            m_pGrid->SetCellText(row, Column::kIih, fields.iih);
            m_pGrid->SetCellText(row, Column::kIol, fields.iol);
            m_pGrid->SetCellText(row, Column::kIoh, fields.ioh);
        }
        ++row;
    }
}

namespace {

std::string PositionTip(const std::string& pinType) {
    return "Side of the symbol " + pinType + " pins go on: " + WordList(kPositionWords).Listed() +
           ".\nSets PinType_" + pinType + ".";
}

} // namespace

void CPinPP::UpdateTips() {
    int row = CPinGridWnd::kFirstPinRow;
    for (const PinTypeRow& pin : kPinTypes) {
        const std::string origin = OriginText(std::string("PinType_") + pin.name);
        for (int col = Column::kPosition; col <= Column::kIoh; ++col) {
            std::string tip;
            if (m_pGrid->IsStaticDisabled(row, col)) {
                tip = std::string("This load does not apply to ") + pin.name + " pins.";
            } else if (col == Column::kPosition) {
                tip = FieldTip(PositionTip(pin.name), origin);
            } else {
                tip = FieldTip(PinLoadTip(pin.name, LoadColumnOf(col)), origin);
            }
            m_pGrid->item(row, col)->setToolTip(ToQString(tip));
        }
        ++row;
    }
}

std::string CPinPP::FieldsHelp() {
    std::string help = PositionTip("<TYPE>");
    for (int column = 0; column < 4; ++column) {
        help += "\n\n" + PinLoadTip("<TYPE>", column);
    }
    return help;
}

bool CPinPP::OnInitDialog() {
    SetupPage::OnInitDialog();
    loaded_.clear();
    for (int row = CPinGridWnd::kFirstPinRow; row <= CPinGridWnd::kLastPinRow; ++row) {
        for (int col = Column::kPosition; col <= Column::kIoh; ++col) {
            loaded_.push_back(m_pGrid->GetCellText(row, col));
        }
    }
    return true;
}

bool CPinPP::IsRowEdited(int row) const {
    const auto first = static_cast<size_t>(row - CPinGridWnd::kFirstPinRow) * Column::kIoh;
    for (int col = Column::kPosition; col <= Column::kIoh; ++col) {
        if (first + static_cast<size_t>(col - 1) < loaded_.size() &&
            m_pGrid->GetCellText(row, col) != loaded_[first + static_cast<size_t>(col - 1)]) {
            return true;
        }
    }
    return false;
}

bool CPinPP::IsModified() const {
    for (int row = CPinGridWnd::kFirstPinRow; row <= CPinGridWnd::kLastPinRow; ++row) {
        if (IsRowEdited(row)) {
            return true;
        }
    }
    return false;
}

bool CPinPP::OnKillActive() {
    if (PropertyPage::OnKillActive()) {
        return true;
    }
    PointAt(m_pGrid);
    return false;
}

bool CPinPP::DoDataExchange(bool saveAndValidate) {
    if (saveAndValidate && m_bInitialised) {
        return m_pGrid->TransferCurrentCell();
    }
    return true;
}

void TransferPinPage(CPinPP& page) {
    if (!page.m_bInitialised) {
        return;
    }
    CPinGridWnd& grid = *page.m_pGrid;
    grid.TransferCurrentCell();
    CPFCoreSetupAPI& store = page.Store();
    using Put = int (CPFCoreSetupAPI::*)(std::string);
    const Put puts[] = {&CPFCoreSetupAPI::PutDefIil, &CPFCoreSetupAPI::PutDefIih,
                        &CPFCoreSetupAPI::PutDefIol, &CPFCoreSetupAPI::PutDefIoh};
    for (int row = CPinGridWnd::kFirstPinRow; row <= CPinGridWnd::kLastPinRow; ++row) {
        if (!page.IsRowEdited(row) ||
            !store.SetCurrentPinByValue(Trimmed(grid.GetCellText(row, Column::kPinType)))) {
            continue;
        }
        store.PutDefPinLocation(grid.GetCellText(row, Column::kPosition));
        for (int col = Column::kIil; col <= Column::kIoh; ++col) {
            (store.*puts[LoadColumnOf(col)])(grid.GetCellText(row, col));
        }
    }
}
