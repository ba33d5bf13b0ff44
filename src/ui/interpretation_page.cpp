#include "ui/interpretation_page.h"

#include "host/host_services.h"
#include "setup/setup_store.h"
#include "ui/kit/control.h"
#include "ui/kit/data_exchange.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

using namespace pfsetup;

namespace {

QGroupBox* RadioBox(QWidget* parent, const char* title,
                    const std::vector<std::pair<int, const char*>>& buttons, RadioGroup& group,
                    int columns) {
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    const int perColumn = (static_cast<int>(buttons.size()) + columns - 1) / columns;
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto* radio = WithId(new QRadioButton(buttons[i].second, box), buttons[i].first);
        group.Add(radio);
        grid->addWidget(radio, static_cast<int>(i) % perColumn, static_cast<int>(i) / perColumn);
    }
    return box;
}

} // namespace

CPinNameInterpretationPP::CPinNameInterpretationPP(CPFCoreSetupAPI& store, QWidget* parent)
    : SetupPage(store, "Pin Name Int&erpretation", kHelpContextId, parent), alphaNum_(this),
      numAlpha_(this), numAlphaNum_(this) {
    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()
                        ->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this)
                        .pixmap(iconSize, iconSize));
    auto* intro = new QVBoxLayout;
    intro->addWidget(
        MakeLabel("Each group represents the pattern in which a pin name can be entered.", this));
    intro->addWidget(
        MakeLabel("Select one default interpretation for each pin name pattern.", this));
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(intro, 1);

    auto* alphaNum = RadioBox(this, "<Alphanumeric String><Numeral> [Example: A1]",
                              {{kAlphaNum_BN, "&Base Name  [BN]"},
                               {kAlphaNum_BN_B, "Base N&ame - Bit  [BN-B]"},
                               {kAlphaNum_BN_S, "Ba&se Name - Slot  [BN-S]"}},
                              alphaNum_, 1);
    auto* numAlpha = RadioBox(this, "<Numeral><Alphanumeric String> [Example: 1A]",
                              {{kNumAlpha_BN, "Bas&e Name  [BN]"},
                               {kNumAlpha_G_BN, "&Group - Base Name  [G-BN]"},
                               {kNumAlpha_B_BN, "Bi&t - Base Name  [B-BN]"},
                               {kNumAlpha_S_BN, "Sl&ot - Base Name  [S-BN]"}},
                              numAlpha_, 1);
    auto* numAlphaNum = RadioBox(this, "<Numeral><Alphanumeric String><Numeral> [Example: 1A1]",
                                 {{kNumAlphaNum_BN, "Base Name  &[BN]"},
                                  {kNumAlphaNum_BN_B, "Base Name - B&it  [BN-B]"},
                                  {kNumAlphaNum_BN_S, "Base Name - S&lot  [BN-S]"},
                                  {kNumAlphaNum_B_BN, "Bit - Base Na&me  [B-BN]"},
                                  {kNumAlphaNum_S_BN, "Slot &- Base Name  [S-BN]"},
                                  {kNumAlphaNum_G_BN, "G&roup - Base Name  [G-BN]"},
                                  {kNumAlphaNum_G_BN_B, "Gro&up - Base Name - Bit  [G-BN-B]"},
                                  {kNumAlphaNum_G_BN_S, "Grou&p - Base Name - Slot  [G-BN-S]"}},
                                 numAlphaNum_, 2);

    auto* pair = new QHBoxLayout;
    pair->addWidget(alphaNum);
    pair->addWidget(numAlpha);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(pair);
    layout->addWidget(numAlphaNum);
    layout->addStretch(1);
}

void CPinNameInterpretationPP::LoadFrom(CPFCoreSetupAPI& store) {
    store.GetAlphaNumValue(m_eAlphaNum);
    store.GetNumAlphaValue(m_eNumAlpha);
    store.GetNumAlphaNumValue(m_eNumAlphaNum);
    // Stored values outside the enumerations select no button.
    auto indexOf = [](int value) { return value >= 1 ? value - 1 : -1; };
    m_nAlphaNumIndex = indexOf(m_eAlphaNum);
    m_nNumAlphaIndex = indexOf(m_eNumAlpha);
    m_nNumAlphaNumIndex = indexOf(m_eNumAlphaNum);
    UpdateData(false);
}

void CPinNameInterpretationPP::UpdateTips() {
    // Button i sets the code i + 1.
    auto tipGroup = [this](const RadioGroup& group, const char* key) {
        for (int i = 0; i < group.Count(); ++i) {
            SetTip(group.Button(i), key, std::to_string(i + 1));
        }
    };
    tipGroup(alphaNum_, "Interpretation_AlphaNum");
    tipGroup(numAlpha_, "Interpretation_NumAlpha");
    tipGroup(numAlphaNum_, "Interpretation_NumAlphaNum");
}

bool CPinNameInterpretationPP::DoDataExchange(bool save) {
    ExchangeRadio(save, alphaNum_, m_nAlphaNumIndex);
    ExchangeRadio(save, numAlpha_, m_nNumAlphaIndex);
    ExchangeRadio(save, numAlphaNum_, m_nNumAlphaNumIndex);
    return true;
}

bool CPinNameInterpretationPP::CheckInterpretationConflict(std::string& message) const {
    return InterpretationConflict(m_nAlphaNumIndex, m_nNumAlphaIndex, m_nNumAlphaNumIndex, message);
}

bool CPinNameInterpretationPP::OnKillActive() {
    UpdateData(true);
    std::string message;
    if (!CheckInterpretationConflict(message)) {
        return true;
    }
    Host().ShowMessage(message, MessageIcon::None, MessageButtons::Ok);
    // The 1A choice contradicts the 1A1 one, or the A1 choice the other two.
    const bool alphaNum = message.rfind("The AlphaNumeral", 0) == 0;
    const RadioGroup& group = alphaNum ? alphaNum_ : numAlpha_;
    PointAt(group.Button(std::max(group.Index(), 0)));
    return false;
}

void CPinNameInterpretationPP::OnOK() {
    UpdateData(true);
    if (m_nAlphaNumIndex >= 0 && m_nAlphaNumIndex < alphaNum_.Count()) {
        m_eAlphaNum = static_cast<PFPinInterpret_AlphaNum>(m_nAlphaNumIndex + 1);
    }
    if (m_nNumAlphaIndex >= 0 && m_nNumAlphaIndex < numAlpha_.Count()) {
        m_eNumAlpha = static_cast<PFPinInterpret_NumAlpha>(m_nNumAlphaIndex + 1);
    }
    if (m_nNumAlphaNumIndex >= 0 && m_nNumAlphaNumIndex < numAlphaNum_.Count()) {
        m_eNumAlphaNum = static_cast<PFPinInterpret_NumAlphaNum>(m_nNumAlphaNumIndex + 1);
    }
    PropertyPage::OnOK();
}

void TransferInterpretationPage(CPinNameInterpretationPP& page) {
    if (!page.m_bInitialised) {
        return;
    }
    CPFCoreSetupAPI& store = page.Store();
    store.PutAlphaNumValue(page.m_eAlphaNum);
    store.PutNumAlphaValue(page.m_eNumAlpha);
    store.PutNumAlphaNumValue(page.m_eNumAlphaNum);
}
