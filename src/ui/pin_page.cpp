#include "ui/pin_page.h"

#include "host/host_services.h"
#include "setup/load_checks.h"
#include "setup/record_fields.h"
#include "setup/setup_store.h"
#include "ui/kit/control.h"
#include "ui/setting_sources.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include <iterator>
#include <utility>

using namespace pfsetup;

namespace {

// The pin types in the store's order ("UNSPEC" has no record), and which of their loads can
// be edited; the others are grey.
struct PinRow {
    const char* type;
    bool inputLoads;
    bool outputLoads;
};
constexpr PinRow kPinRows[] = {
    {"INPUT", true, false},   {"TS", true, true},       {"TS_BIDIR", true, true},
    {"OC_BIDIR", true, true}, {"OE_BIDIR", true, true}, {"BIDIR", true, true},
    {"OUTPUT", false, true},  {"OC", false, true},      {"OE", false, true},
    {"ANALOG", false, false}, {"POWER", false, false},  {"GROUND", false, false},
    {"NC", false, false},
};
static_assert(CPinGridWnd::kFirstPinRow + static_cast<int>(std::size(kPinRows)) - 1 ==
              CPinGridWnd::kLastPinRow);

using Column = CPinGridWnd::Column;

// Low input and high output currents flow out of the pin: negative loads.
bool IsValidLoad(int col, const std::string& text) {
    return col == Column::kIil || col == Column::kIoh ? IsValidNegativeLoad(text)
                                                      : IsValidPositiveLoad(text);
}

std::string LoadMessage(const std::string& pinType, const std::string& text) {
    return "\n" + pinType + " Pin : Incorrect Load Value of " + text;
}

// What each column allows, for the tips.
const char* ColumnTip(int col) {
    switch (col) {
    case Column::kPosition:
        return "The side of the symbol pins of this type go on: Left, Right, Top or Bottom.";
    case Column::kIil:
        return "Input load, low: \"*\" or a negative number such as -0.01.";
    case Column::kIih:
        return "Input load, high: \"*\" or a positive number such as 0.01 (\"+\" allowed).";
    case Column::kIol:
        return "Output load, low: \"*\" or a positive number such as 1.0 (\"+\" allowed).";
    default:
        return "Output load, high: \"*\" or a negative number such as -1.0.";
    }
}

} // namespace

bool CPinGridWnd::OnValidateCell(int row, int col) {
    if (row < kFirstPinRow || col < kIil)
        return true;
    std::string text = TrimBlanks(GetCellText(row, col));
    if (text.empty())
        text = "*";
    SetCellText(row, col, text);
    if (IsValidLoad(col, text))
        return true;
    Host().ShowMessage(LoadMessage(GetCellText(row, kPinType), text), MessageIcon::None,
                       MessageButtons::Ok);
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
    for (const PinRow& pin : kPinRows) {
        grid.SetCellText(row, Column::kPinType, pin.type);
        grid.SetChoiceList(row, Column::kPosition, "Left\nRight\nTop\nBottom\n");
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
    for (int col = Column::kPosition; col <= Column::kIol; ++col)
        grid.setColumnWidth(col, grid.ScaledWidth(60));
    grid.setColumnWidth(Column::kIoh, grid.ScaledWidth(80));
    grid.setMinimumSize(grid.ContentSize());
    // A larger dialog widens the position and load columns.
    for (int col = Column::kPosition; col <= Column::kIoh; ++col)
        grid.horizontalHeader()->setSectionResizeMode(col, QHeaderView::Stretch);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pGrid, 1);
}

void CPinPP::LoadFrom(CPFCoreSetupAPI& store) {
    int row = CPinGridWnd::kFirstPinRow;
    for (const PinRow& pin : kPinRows) {
        if (store.SetCurrentPinByValue(pin.type)) {
            const PinTypeFields fields = CurrentPinTypeFields(store);
            m_pGrid->SetCellText(row, Column::kPosition, fields.position);
            m_pGrid->SetCellText(row, Column::kIil, fields.iil);
            m_pGrid->SetCellText(row, Column::kIih, fields.iih);
            m_pGrid->SetCellText(row, Column::kIol, fields.iol);
            m_pGrid->SetCellText(row, Column::kIoh, fields.ioh);
        }
        ++row;
    }
}

void CPinPP::UpdateTips() {
    int row = CPinGridWnd::kFirstPinRow;
    for (const PinRow& pin : kPinRows) {
        const std::string origin = OriginText(std::string("PinType_") + pin.type);
        for (int col = Column::kPosition; col <= Column::kIoh; ++col) {
            const std::string tip =
                m_pGrid->IsStaticDisabled(row, col)
                    ? std::string("This load does not apply to ") + pin.type + " pins."
                    : FieldTip(ColumnTip(col), origin);
            m_pGrid->item(row, col)->setToolTip(ToQString(tip));
        }
        ++row;
    }
}

bool CPinPP::OnKillActive() {
    if (PropertyPage::OnKillActive())
        return true;
    PointAt(m_pGrid);
    return false;
}

bool CPinPP::DoDataExchange(bool saveAndValidate) {
    if (saveAndValidate && m_bInitialised)
        return m_pGrid->TransferCurrentCell();
    return true;
}

void TransferPinPage(CPinPP& page) {
    if (!page.m_bInitialised)
        return;
    CPinGridWnd& grid = *page.m_pGrid;
    grid.TransferCurrentCell();
    CPFCoreSetupAPI& store = page.Store();
    using Put = int (CPFCoreSetupAPI::*)(std::string);
    const std::pair<int, Put> loads[] = {{Column::kIil, &CPFCoreSetupAPI::PutDefIil},
                                         {Column::kIih, &CPFCoreSetupAPI::PutDefIih},
                                         {Column::kIol, &CPFCoreSetupAPI::PutDefIol},
                                         {Column::kIoh, &CPFCoreSetupAPI::PutDefIoh}};
    for (int row = CPinGridWnd::kFirstPinRow; row <= CPinGridWnd::kLastPinRow; ++row) {
        const std::string pinType = grid.GetCellText(row, Column::kPinType);
        if (!store.SetCurrentPinByValue(TrimBlanks(pinType)))
            continue;
        store.PutDefPinLocation(grid.GetCellText(row, Column::kPosition));
        for (const auto& [col, put] : loads) {
            std::string text = grid.GetCellText(row, col);
            if (!text.empty() && !IsValidLoad(col, text)) {
                store.PutLogError(LoadMessage(pinType, text));
                text = "*";
                // The grid shows what the store now holds, so a second OK reports nothing new.
                grid.SetCellText(row, col, text);
            }
            (store.*put)(text);
        }
    }
}
