// The Property page: rows written into the store as the user leaves them, the name and value
// checks, the check boxes and their rules, Add and Delete, and a long property list.
#include "dialog_driver.h"

#include "setup/setting_rules.h"

#include <tuple>

namespace pfsetup::test {
namespace {

using Ids = CPropertyPP;
using Col = CPropertyGridWnd::Column;

const char* const kThreeProperties = "Prop_TOLERANCE '1,5%,Yes,Value,Left'\n"
                                     "Prop_PIN_NOTE '2,,No,Name,Center'\n"
                                     "Prop_JEDEC_PACKAGE '4,SOIC-14,Yes,,'\n";

// Value, required, visibility, alignment and type of the stored property, "-" when none.
std::string Stored(Store& store, const std::string& name) {
    if (!store.SetCurrentPropertyByName(name))
        return "-";
    return Get(store, &Store::GetPropertyValue) + "|" + Get(store, &Store::GetPropertyRequired) +
           "|" + Get(store, &Store::GetPropertyVisibility) + "|" +
           Get(store, &Store::GetPropertyAlignment) + "|" +
           std::to_string(Get(store, &Store::GetPropertyType));
}

int PropertyCount(CPFCoreSetupAPI& store) {
    int count = 0;
    store.InitPropertyIteration();
    store.SetPropertyContext(PFSetupContextAll);
    while (store.GetNextProperty())
        ++count;
    return count;
}

class PropertyPage : public ProjectDriver {
protected:
    void OpenOn(const std::string& settings, int mode = 0) {
        UseProject(settings);
        Open(CSetupPropSheet::kPropertyPage, mode);
        grid = Control<Grid>(Ids::kGrid);
    }
    // The type boxes Symbol, Pin, Package, Pin, Global, Package, Physical, then Delete.
    std::string Boxes() {
        return States({Ids::kSymbol, Ids::kSymbolPin, Ids::kPackage, Ids::kPackagePin,
                       Ids::kPtfGlobal, Ids::kPtfPackage, Ids::kPtfPhysical, Ids::kDelete});
    }

    Grid* grid = nullptr;
};

TEST_F(PropertyPage, RowsAreStoredWhenTheUserLeavesThem) {
    OpenOn(kThreeProperties);
    EXPECT_TRUE(grid->IsStaticDisabled(3, Col::kVisible)); // on the package only
    EXPECT_EQ(grid->GetCellText(2, Col::kVisible), "Name");
    EXPECT_TRUE(IsCurrent(grid, 1, Col::kName));

    TypeInCell(grid, 4, Col::kName, " new_prop$ ");
    ClickCell(grid, 4, Col::kValue);
    QTest::keyClick(grid, Qt::Key_Return); // the grid's, not the dialog's default button
    EXPECT_TRUE(active->isVisible());
    EXPECT_EQ(Boxes(), "xooooooO");
    TypeInCell(grid, 4, Col::kValue, " 10 k ");
    EXPECT_EQ(grid->GetCellText(4, Col::kName), "NEW_PROP$");
    EXPECT_EQ(Stored(store, "NEW_PROP$"), "-"); // not before the row is left
    ClickCell(grid, 3, Col::kValue);
    EXPECT_EQ(Stored(store, "NEW_PROP$"), "10 k|Yes|Value|Left|1");
    EXPECT_EQ(Boxes(), "ooxooooo");
}

TEST_F(PropertyPage, RefusedNamesAndValuesKeepTheUserInTheCell) {
    const char* reserved = "ERROR:Invalid entry in property name field";
    const char* syntax = "ERROR:Syntax error in value field for POWER_GROUP property.";
    // The context the store checks in, the name typed, the value typed (nullptr: the name is
    // checked) and the refusal.
    const std::tuple<PFSetupPropertyContext, const char*, const char*, const char*> cases[] = {
        {PFSetupContextAll, "a-b", nullptr,
         "ERROR:Invalid characters found in property name field"},
        {PFSetupContextAll, "PART_NAME", nullptr, nullptr},
        {PFSetupContextSymbol, "part_name", nullptr, reserved},
        {PFSetupContextPackage, "PART_NAME", nullptr, reserved},
        {PFSetupContextAll, "X", "it's", "ERROR:Invalid characters found in property value field"},
        {PFSetupContextAll, "POWER_GROUP", "VCC", nullptr},
        {PFSetupContextPackage, "POWER_GROUP", "VCC", syntax},
        {PFSetupContextSymbol, "power_group", "VCC=1,,", syntax},
        {PFSetupContextSymbol, "POWER_GROUP", "VCC=1,GND=2", nullptr},
        {PFSetupContextSymbolPin, "POWER_GROUP", ",A=B", nullptr},
    };
    for (const auto& [context, name, value, message] : cases) {
        OpenOn("");
        store.SetPropertyContext(context);
        const int col = value ? Col::kValue : Col::kName;
        TypeInCell(grid, 1, Col::kName, name);
        if (value)
            TypeInCell(grid, 1, Col::kValue, value);
        ClickCell(grid, 1, col == Col::kName ? Col::kValue : Col::kName);
        const std::string typed = value ? value : name;
        ExpectShown(message, MessageIcon::Exclamation, typed);
        EXPECT_EQ(IsCurrent(grid, 1, col), message != nullptr) << typed;
        EXPECT_FALSE(grid->GetCellText(1, col).empty()) << typed; // kept, to be corrected
    }
}

// Leaving a row checks its name and value in every context its boxes give it, as `set` does.
TEST_F(PropertyPage, ARowIsCheckedInTheContextsOfItsBoxes) {
    // Name, value, a box clicked (0: none), the type the row then has, and whether it is stored.
    const std::tuple<const char*, const char*, int, int, bool> cases[] = {
        {"PIN_NAME", "v", Ids::kSymbolPin, 3, false},
        {"POWER_GROUP", "VCC", 0, 1, false},
        {"POWER_GROUP", "VCC", Ids::kSymbol, 0, true},
        {"PART_NAME", "v", 0, 0, true}, // the name unchecks the Symbol box
    };
    for (const auto& [name, value, box, type, stored] : cases) {
        OpenOn("");
        TypeInCell(grid, 1, Col::kName, name);
        TypeInCell(grid, 1, Col::kValue, value);
        if (box)
            Click(box);
        ClickCell(grid, 2, Col::kName);
        const std::string refusal = PropertyRefusal(name, value, type);
        ExpectShown(stored ? nullptr : refusal.c_str(), MessageIcon::Exclamation, name);
        EXPECT_EQ(Stored(store, name) != "-", stored) << name;
    }
}

// Text the project file cannot hold on one line between quotes, pasted into a cell: OK keeps
// the dialog open on it, and the file keeps the old value.
TEST_F(PropertyPage, TextAFileCannotHoldIsRefused) {
    for (const std::string pasted : {"a\nb", "a\rb", "a\tb\x7f", "\"x\""}) {
        OpenOn("Prop_NOTE '1,old,Yes,Value,Left'\n");
        auto* editor = EditCell(grid, 1, Col::kValue);
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        editor->insert(QString::fromStdString(pasted)); // as a paste does
        ClickButton(PropertySheet::kIdOk);
        const bool refused = pasted.find_first_of("\n\r\"") != std::string::npos;
        EXPECT_EQ(active->isVisible(), refused) << pasted;
        if (refused) {
            EXPECT_EQ(grid->GetCellText(1, Col::kValue), pasted);
        }
        EXPECT_EQ(host.messages.size(), refused ? 1u : 0u) << pasted;
        host.messages.clear();
        EXPECT_EQ(Stored(*Reread(), "NOTE"), (refused ? "old" : pasted) + "|Yes|Value|Left|1");
    }
}

TEST_F(PropertyPage, NamesInUseAreNotTakenAgain) {
    OpenOn(kThreeProperties);
    TypeInCell(grid, 4, Col::kName, "tolerance"); // a new row: kept, the user in its name
    ClickCell(grid, 5, Col::kName);
    ExpectShown("Duplicate Property", MessageIcon::None, "tolerance");
    EXPECT_TRUE(IsCurrent(grid, 4, Col::kName));
    EXPECT_EQ(grid->GetCellText(4, Col::kName), "TOLERANCE");
    EXPECT_EQ(PropertyCount(store), 3);
    TypeInCell(grid, 4, Col::kName, ""); // without a name the row is abandoned
    ClickCell(grid, 5, Col::kName);
    EXPECT_TRUE(IsCurrent(grid, 5, Col::kName));
    EXPECT_EQ(PropertyCount(store), 3);

    TypeInCell(grid, 1, Col::kName, "PIN_NOTE"); // a rename to a used name is undone
    TypeInCell(grid, 1, Col::kValue, "10%");
    Click(Ids::kSymbol);
    ClickCell(grid, 2, Col::kValue);
    EXPECT_EQ(grid->GetCellText(1, Col::kName), "TOLERANCE");
    EXPECT_EQ(grid->GetCellText(1, Col::kValue), "5%");
    EXPECT_FALSE(grid->IsStaticDisabled(1, Col::kVisible)); // a symbol property again
    EXPECT_EQ(grid->GetCellText(1, Col::kVisible), "Value");
    EXPECT_EQ(Stored(store, "PIN_NOTE"), "|No|Name|Center|2");

    TypeInCell(grid, 1, Col::kName, "TOL"); // a rename to a free one is kept
    ClickCell(grid, 3, Col::kValue);
    EXPECT_EQ(Stored(store, "TOLERANCE"), "-");
    EXPECT_EQ(Stored(store, "TOL"), "5%|Yes|Value|Left|1");
}

TEST_F(PropertyPage, CheckBoxRules) {
    OpenOn(kThreeProperties);
    ClickCell(grid, 4, Col::kName);
    Click(Ids::kSymbol); // neither Symbol nor Pin: no visibility or alignment
    EXPECT_TRUE(grid->IsStaticDisabled(4, Col::kVisible));
    EXPECT_EQ(grid->GetCellText(4, Col::kAlign), "");
    Click(Ids::kSymbolPin);
    EXPECT_EQ(grid->GetChoiceList(4, Col::kVisible), "Name\nValue\nBoth\nInvisible\n");
    Click(Ids::kSymbolPin);
    Click(Ids::kPtfGlobal); // Global excludes Package and Physical
    EXPECT_EQ(Boxes(), "ooooxOOO");
    Click(Ids::kPtfGlobal);
    Click(Ids::kPtfPhysical);
    EXPECT_EQ(Boxes(), "ooooOoxO");
    Click(Ids::kPtfPhysical);
    EXPECT_EQ(Boxes(), "oooooooO");

    Click(Ids::kPackagePin);
    TypeInCell(grid, 4, Col::kName, "pack_type");
    ClickCell(grid, 4, Col::kValue);
    EXPECT_EQ(Boxes(), "OooxoooO");
    ClickCell(grid, 1, Col::kValue);
    EXPECT_EQ(Boxes(), "xooooooo");
    EXPECT_EQ(Stored(store, "PACK_TYPE"), "|Yes|||8");
    ClickCell(grid, 4, Col::kValue);
    EXPECT_EQ(Boxes(), "Oooxoooo");

    OpenOn("Prop_PTF '16,,Yes,,'\n", 2); // template modes keep most boxes disabled
    ClickCell(grid, 1, Col::kValue);
    EXPECT_EQ(Boxes(), "oOoOXOOo");
    ClickCell(grid, 2, Col::kValue);
    EXPECT_EQ(Boxes(), "xOoOOOOO");
}

TEST_F(PropertyPage, DeleteRemovesTheRowAndItsProperty) {
    OpenOn("Prop_ONLY '1,x,Yes,Value,Left'\n");
    Click(Ids::kDelete);
    EXPECT_EQ(PropertyCount(store), 0);
    EXPECT_EQ(grid->GetRowCount(), 12);
    EXPECT_TRUE(IsCurrent(grid, 1, Col::kName));
    EXPECT_EQ(Boxes(), "xooooooO");
    EXPECT_EQ(grid->GetCellText(1, Col::kVisible), "Value");

    // A row stands for its property, whatever name has been typed into it meanwhile.
    OpenOn(kThreeProperties);
    TypeInCell(grid, 2, Col::kName, "TOLERANCE");
    Click(Ids::kDelete);
    EXPECT_EQ(Stored(store, "PIN_NOTE"), "-");
    EXPECT_EQ(Stored(store, "TOLERANCE"), "5%|Yes|Value|Left|1");
    EXPECT_TRUE(IsCurrent(grid, 1, Col::kName));
    EXPECT_EQ(grid->GetCellText(2, Col::kName), "JEDEC_PACKAGE");

    Click(Ids::kAdd); // a row after those in use, the cursor in it
    EXPECT_EQ(grid->GetRowCount(), 13);
    EXPECT_TRUE(IsCurrent(grid, 3, Col::kName));
    EXPECT_EQ(grid->GetChoiceList(3, Col::kRequired), "Yes\nNo\n");
}

// Twenty properties, more than the grid's first rows: each has a row, any can be edited, OK
// keeps them all.
TEST_F(PropertyPage, ALongListIsShownEditedAndSavedWhole) {
    std::string settings;
    for (int i = 1; i <= 20; ++i)
        settings += "Prop_P" + std::to_string(i) + " '" + (i % 2 ? "1" : "4") + ",v" +
                    std::to_string(i) + ",Yes,Value,Left'\n";
    OpenOn(settings);
    EXPECT_EQ(grid->GetRowCount(), 20);
    for (int row = 1; row <= 20; ++row) {
        ClickCell(grid, row, Col::kValue);
        EXPECT_EQ(grid->GetCellText(row, Col::kName), "P" + std::to_string(row));
        EXPECT_TRUE(
            grid->viewport()->rect().contains(grid->visualItemRect(grid->item(row, Col::kValue))));
    }
    TypeInCell(grid, 20, Col::kValue, "last");
    TypeInCell(grid, 15, Col::kName, "p15_renamed");
    ClickButton(PropertySheet::kIdOk);
    auto written = Reread();
    EXPECT_EQ(PropertyCount(*written), 20);
    EXPECT_EQ(Stored(*written, "P20"), "last|Yes|Value|Left|4");
    EXPECT_EQ(Stored(*written, "P15_RENAMED"), "v15|Yes|Value|Left|1");
    EXPECT_EQ(Stored(*written, "P14"), "v14|Yes|Value|Left|4");
}

} // namespace
} // namespace pfsetup::test
