// The framework stand-ins: numbers in edits, and the sheet's page switching and buttons.
#include "support/fake_host.h"
#include "ui/kit/control.h"
#include "ui/kit/data_exchange.h"
#include "ui/kit/property_page.h"
#include "ui/kit/property_sheet.h"

#include "setup/setup_store.h"

#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace pfsetup {
namespace {

TEST(DataExchange, LeadingNumberReadsTheLongestDecimalPrefix) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},     {"  2.5x", 2.5}, {"-1e3", -1000}, {"1e", 1},  {"1e+", 1},
        {".5", 0.5}, {"5.", 5},       {"abc", 0},      {"+3", 3},  {"-", 0},
        {"inf", 0},  {"0x10", 0},     {"\t7 8", 7},    {"1,5", 1}, {"2.5e-1z", 0.25},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
}

TEST(DataExchange, WholeNumbersOnly) {
    const struct {
        const char* text;
        bool isInt;
        int intValue;
        bool isFloat;
        float floatValue;
    } cases[] = {
        {"5", true, 5, true, 5.0f},
        {" -7 ", true, -7, true, -7.0f},
        {"5x", false, 0, false, 0},
        {"", false, 0, false, 0},
        {"2.0", false, 0, true, 2.0f},
        {"0.05", false, 0, true, 0.05f},
        {"99999999999", false, 0, true, 1e11f},
        {"1e40", false, 0, false, 0},
        {"1,5", false, 0, false, 0},
        {"nan", false, 0, false, 0},
    };
    for (const auto& c : cases) {
        int i = -1;
        float f = -1;
        EXPECT_EQ(ParseDialogInt(c.text, i), c.isInt) << c.text;
        EXPECT_EQ(ParseDialogFloat(c.text, f), c.isFloat) << c.text;
        if (c.isInt) {
            EXPECT_EQ(i, c.intValue) << c.text;
        }
        if (c.isFloat) {
            EXPECT_FLOAT_EQ(f, c.floatValue) << c.text;
        }
    }
    EXPECT_EQ(FormatDialogFloat(0.05f), "0.05");
    EXPECT_EQ(FormatDialogFloat(0.8f), "0.8");
    EXPECT_EQ(FormatDialogFloat(1e6f), "1e+06");
}

class CountingPage : public PropertyPage {
public:
    CountingPage(CPFCoreSetupAPI& store, const char* caption, unsigned help)
        : PropertyPage(store, caption, help) {}
    bool OnInitDialog() override {
        ++inits;
        return PropertyPage::OnInitDialog();
    }
    bool OnKillActive() override {
        ++kills;
        return !refuse;
    }
    int inits = 0;
    int kills = 0;
    bool refuse = false;
};

class SheetTest : public ::testing::Test {
protected:
    void Build(int first) {
        sheet = std::make_unique<PropertySheet>("Sheet", nullptr, first);
        for (unsigned i = 0; i < 3; ++i) {
            pages.push_back(std::make_unique<CountingPage>(store, "P&age", 0x100 + i));
            sheet->AddPage(pages.back().get());
        }
        sheet->show();
    }
    void TearDown() override {
        sheet.reset(); // the pages outlive the sheet
    }
    void ClickTab(int index) {
        QTabBar* bar = sheet->GetTabControl()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    test::FakeHost host;
    CPFCoreSetupAPI store;
    std::vector<std::unique_ptr<CountingPage>> pages;
    std::unique_ptr<PropertySheet> sheet;
};

TEST_F(SheetTest, PagesInitialiseWhenFirstShown) {
    Build(1);
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(pages[1]->m_bInitialised, 1);
    EXPECT_EQ(pages[0]->m_bInitialised, 0);
    ClickTab(2);
    ClickTab(1);
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(pages[1]->inits, 1);
    EXPECT_EQ(pages[2]->inits, 1);
    EXPECT_EQ(pages[0]->inits, 0);
}

TEST_F(SheetTest, ARefusingPageKeepsTheUser) {
    Build(0);
    pages[0]->refuse = true;
    ClickTab(2);
    EXPECT_EQ(pages[0]->kills, 1);
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    EXPECT_EQ(sheet->GetTabControl()->currentIndex(), 0);
    EXPECT_EQ(pages[2]->m_bInitialised, 0);
    pages[0]->refuse = false;
    ClickTab(2);
    EXPECT_EQ(sheet->GetTabControl()->currentIndex(), 2);
}

TEST_F(SheetTest, ADisabledTabControlKeepsTheUser) {
    Build(2);
    sheet->EnableTabControl(false);
    ClickTab(0);
    QTest::keyClick(sheet->GetTabControl(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(sheet->GetTabControl()->currentIndex(), 2);
    EXPECT_EQ(pages[0]->m_bInitialised + pages[1]->m_bInitialised, 0);
}

TEST_F(SheetTest, ButtonsAndKeys) {
    Build(1);
    QTest::mouseClick(sheet->GetButton(PropertySheet::kIdHelp), Qt::LeftButton);
    QTest::keyClick(pages[1].get(), Qt::Key_F1);
    EXPECT_EQ(host.helpRequests, (std::vector<unsigned>{0x101, 0x101}));

    QPushButton* extra = sheet->AddButton(200, "Save..");
    EXPECT_EQ(extra, FindControl<QPushButton>(sheet.get(), 200));
    QApplication::processEvents();
    EXPECT_LT(sheet->GetButton(1)->x(), extra->x());
    EXPECT_LT(extra->x(), sheet->GetButton(2)->x());

    pages[1]->refuse = true; // OK asks the shown page first
    QTest::mouseClick(sheet->GetButton(PropertySheet::kIdOk), Qt::LeftButton);
    EXPECT_TRUE(sheet->isVisible());
    QTest::keyClick(sheet.get(), Qt::Key_Escape);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->result(), 2);
}

} // namespace
} // namespace pfsetup
