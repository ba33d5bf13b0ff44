#include "ui/format_page.h"

#include "setup/setting_tables.h"
#include "setup/setup_store.h"
#include "ui/kit/control.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

using namespace pfsetup;

namespace {

QRadioButton* Radio(QWidget* parent, int id, const char* caption, RadioGroup& group) {
    auto* radio = WithId(new QRadioButton(caption, parent), id);
    group.Add(radio);
    return radio;
}

} // namespace

CFormatPP::CFormatPP(CPFCoreSetupAPI& store, QWidget* parent)
    : SetupPage(store, "F&ormat", kHelpContextId, parent), reading_(this), writing_(this),
      sizeable_(this), vector_(this) {
    auto* syntax = new QGroupBox("Low Asserted Pin Syntax", this);
    auto* readStarAndN = Radio(syntax, kReadStarAndN, "&Suffix '*' and Suffix '_N'", reading_);
    auto* readStar = Radio(syntax, kReadStar, "S&uffix  '*'", reading_);
    auto* readN = Radio(syntax, kReadN, "Su&ffix  '_N'", reading_);
    auto* writeStar = Radio(syntax, kWriteStar, "Suffi&x '*'", writing_);
    auto* writeN = Radio(syntax, kWriteN, "Suff&ix '_N'", writing_);
    writeStarLabel_ = WithId(MakeLabel("Suffix '*'", syntax), kWriteStarLabel);
    writeNLabel_ = WithId(MakeLabel("Suffix '_N'", syntax), kWriteNLabel);
    // The locked choice lines up with the captions of the writing radio buttons.
    const int captionIndent = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                              style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    writeStarLabel_->setIndent(captionIndent);
    writeNLabel_->setIndent(captionIndent);
    useMinus_ = WithId(
        new QCheckBox("Use &minus ('-') for low asserted pins in Package view", syntax), kUseMinus);

    auto* syntaxGrid = new QGridLayout(syntax);
    syntaxGrid->addWidget(MakeLabel("Reading", syntax), 0, 0);
    syntaxGrid->addWidget(MakeLabel("Writing", syntax), 0, 2);
    auto* writeChoice = new QVBoxLayout;
    writeChoice->addWidget(writeStar);
    writeChoice->addWidget(writeN);
    syntaxGrid->addWidget(readStarAndN, 1, 0);
    syntaxGrid->addLayout(writeChoice, 1, 2);
    syntaxGrid->addWidget(readStar, 2, 0);
    syntaxGrid->addWidget(writeStarLabel_, 2, 2);
    syntaxGrid->addWidget(readN, 3, 0);
    syntaxGrid->addWidget(writeNLabel_, 3, 2);
    for (int row = 1; row <= 3; ++row) {
        syntaxGrid->addWidget(MakeLabel("<------------>", syntax), row, 1, Qt::AlignCenter);
    }
    syntaxGrid->addWidget(useMinus_, 4, 0, 1, 3);
    syntaxGrid->setColumnStretch(3, 1);

    auto* chips = new QGroupBox("Chips File Reading Options", this);
    groupFormat_ = WithId(new QCheckBox("Use &group format for reading asymmetrical parts", chips),
                          kGroupFormat);
    auto* chipsGrid = new QGridLayout(chips);
    chipsGrid->addWidget(groupFormat_, 0, 0, 1, 3);
    chipsGrid->addWidget(MakeLabel("Show sizeable pins as:", chips), 1, 0);
    auto* slotFirst = Radio(chips, kSizeableSlotFirst, "S&lot Number - Base Name", sizeable_);
    auto* slotLast = Radio(chips, kSizeableBaseFirst, "B&ase Name - Slot Number", sizeable_);
    chipsGrid->addWidget(slotFirst, 1, 1);
    chipsGrid->addWidget(slotLast, 1, 2);
    chipsGrid->addWidget(MakeLabel("Show vector pins as:", chips), 2, 0);
    auto* bitFirst = Radio(chips, kVectorBitFirst, "&Bit Number - Base Name", vector_);
    auto* bitLast = Radio(chips, kVectorBaseFirst, "Base Name - Bit Numbe&r", vector_);
    chipsGrid->addWidget(bitFirst, 2, 1);
    chipsGrid->addWidget(bitLast, 2, 2);
    chipsGrid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(syntax);
    layout->addWidget(chips);
    layout->addStretch(1);

    auto onClick = [this](QAbstractButton* control, void (CFormatPP::*handler)()) {
        connect(control, &QAbstractButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    onClick(readStarAndN, &CFormatPP::OnReadStarAndN);
    onClick(readStar, &CFormatPP::OnReadStar);
    onClick(readN, &CFormatPP::OnReadN);
    onClick(writeStar, &CFormatPP::OnWriteStar);
    onClick(writeN, &CFormatPP::OnWriteN);
    onClick(useMinus_, &CFormatPP::OnUseMinus);
    onClick(groupFormat_, &CFormatPP::OnGroupFormat);
    onClick(slotFirst, &CFormatPP::OnSizeableSlotFirst);
    onClick(slotLast, &CFormatPP::OnSizeableBaseFirst);
    onClick(bitFirst, &CFormatPP::OnVectorBitFirst);
    onClick(bitLast, &CFormatPP::OnVectorBaseFirst);
}

void CFormatPP::LoadFrom(CPFCoreSetupAPI& store) {
    PFActiveLow read = PFActiveLow_Suffix_Star_And_N;
    store.GetDefReadActiveLowPinNotation(read);
    if (read == PFActiveLow_Suffix_Star) {
        reading_.SetIndex(1);
        OnReadStar();
    } else if (read == PFActiveLow_Suffix_N) {
        reading_.SetIndex(2);
        OnReadN();
    } else {
        reading_.SetIndex(0);
        OnReadStarAndN();
        PFActiveLow write = PFActiveLow_Suffix_Star;
        store.GetDefWriteActiveLowPinNotation(write);
        const bool suffixN = write == PFActiveLow_Suffix_N;
        writing_.SetIndex(suffixN ? 1 : 0);
        m_eWriteNotation = suffixN ? PFActiveLow_Suffix_N : PFActiveLow_Suffix_Star;
    }

    m_bUseMinus = store.GetDefUseMinusInPackage();
    useMinus_->setChecked(m_bUseMinus != 0);
    m_nGroupFormat = store.ReadChipsInGroupFormat();
    m_nSizeableFormat = store.GetFormatForSizeablePins();
    m_nVectorFormat = store.GetFormatForVectorPins();
    groupFormat_->setChecked(m_nGroupFormat != 0);
    // A value other than 1 shows the other button, but the member keeps the store's value
    // until the user clicks.
    sizeable_.SetIndex(m_nSizeableFormat == 1 ? 1 : 0);
    vector_.SetIndex(m_nVectorFormat == 1 ? 1 : 0);
}

void CFormatPP::UpdateTips() {
    auto tipGroup = [this](const RadioGroup& group, const char* key,
                           std::initializer_list<std::string> choices) {
        int i = 0;
        for (const std::string& choice : choices) {
            SetTip(group.Button(i++), key, choice);
        }
    };
    auto notation = [](PFActiveLow value) {
        return std::string(WordList(kReadActiveLowWords).TextOf(value));
    };
    tipGroup(reading_, "Format_ReadActiveLow",
             {notation(PFActiveLow_Suffix_Star_And_N), notation(PFActiveLow_Suffix_Star),
              notation(PFActiveLow_Suffix_N)});
    tipGroup(writing_, "Format_WriteActiveLow",
             {notation(PFActiveLow_Suffix_Star), notation(PFActiveLow_Suffix_N)});
    SetTip(useMinus_, "Format_UseMinusInPackage");
    SetTip(groupFormat_, "Use_Group_Format");
    tipGroup(sizeable_, "Sizeable_Format", {"2", "1"});
    tipGroup(vector_, "Vector_Format", {"2", "1"});
}

void CFormatPP::LockWriting(bool locked) {
    writing_.Button(0)->setEnabled(!locked);
    writing_.Button(1)->setEnabled(!locked);
}

void CFormatPP::OnReadStarAndN() {
    if (reading_.Index() != 0) {
        return;
    }
    m_eReadNotation = PFActiveLow_Suffix_Star_And_N;
    writeStarLabel_->setEnabled(false);
    writeNLabel_->setEnabled(false);
    LockWriting(false);
    if (writing_.Index() == 1) {
        m_eWriteNotation = PFActiveLow_Suffix_N;
    } else {
        writing_.SetIndex(0);
        m_eWriteNotation = PFActiveLow_Suffix_Star;
    }
}

void CFormatPP::OnReadStar() {
    if (reading_.Index() != 1) {
        return;
    }
    m_eReadNotation = PFActiveLow_Suffix_Star;
    m_eWriteNotation = PFActiveLow_Suffix_Star;
    writeStarLabel_->setEnabled(true);
    writeNLabel_->setEnabled(false);
    LockWriting(true);
}

void CFormatPP::OnReadN() {
    if (reading_.Index() != 2) {
        return;
    }
    m_eReadNotation = PFActiveLow_Suffix_N;
    m_eWriteNotation = PFActiveLow_Suffix_N;
    writeStarLabel_->setEnabled(false);
    writeNLabel_->setEnabled(true);
    LockWriting(true);
}

void CFormatPP::OnWriteStar() {
    if (writing_.Index() == 0) {
        m_eWriteNotation = PFActiveLow_Suffix_Star;
    }
}

void CFormatPP::OnWriteN() {
    if (writing_.Index() == 1) {
        m_eWriteNotation = PFActiveLow_Suffix_N;
    }
}

void CFormatPP::OnUseMinus() {
    m_bUseMinus = useMinus_->isChecked() ? 1 : 0;
}

void CFormatPP::OnGroupFormat() {
    m_nGroupFormat = groupFormat_->isChecked() ? 1 : 0;
}

void CFormatPP::OnSizeableSlotFirst() {
    sizeable_.SetIndex(0);
    m_nSizeableFormat = 2;
}

void CFormatPP::OnSizeableBaseFirst() {
    sizeable_.SetIndex(1);
    m_nSizeableFormat = 1;
}

void CFormatPP::OnVectorBitFirst() {
    vector_.SetIndex(0);
    m_nVectorFormat = 2;
}

void CFormatPP::OnVectorBaseFirst() {
    vector_.SetIndex(1);
    m_nVectorFormat = 1;
}

void TransferFormatPage(CFormatPP& page) {
    if (!page.m_bInitialised) {
        return;
    }
    CPFCoreSetupAPI& store = page.Store();
    store.PutDefReadActiveLowPinNotation(page.m_eReadNotation);
    store.PutDefWriteActiveLowPinNotation(page.m_eWriteNotation);
    store.PutDefUseMinusInPackage(page.m_bUseMinus);
    store.SetFormatForSizeablePins(page.m_nSizeableFormat);
    store.SetFormatForVectorPins(page.m_nVectorFormat);
    store.SetGroupFormatForReading(page.m_nGroupFormat);
}
