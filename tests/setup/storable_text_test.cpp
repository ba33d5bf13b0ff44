// The store refuses, where the text is entered, what the project files could not give back:
// the setting keeps what it had and the setter returns 0.
#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <string>

namespace {

enum Setter { Name, Value, Load, PinType, PlaceHolder };

// Puts `text` through one setter of a store holding property "P" = "old", pin type TS current
// with Iil "-0.01" and the placeholder "A"; "accepted" or what the setting still holds.
std::string Put(Setter setter, const std::string& text) {
    CPFCoreSetupAPI store;
    store.CreateProperty("P");
    store.PutPropertyValue("old");
    store.AddToPackagePlaceHolder("A");
    store.SetCurrentPinByValue("TS");
    std::string held;
    switch (setter) {
    case Name:
        if (store.PutPropertyName(text))
            return "accepted";
        store.GetPropertyName(held);
        break;
    case Value:
        if (store.PutPropertyValue(text))
            return "accepted";
        store.GetPropertyValue(held);
        break;
    case Load:
        if (store.PutDefIil(text))
            return "accepted";
        store.GetDefIil(held);
        break;
    case PinType:
        if (store.PutDefPinType(text))
            return "accepted";
        store.GetDefPinType(held);
        break;
    case PlaceHolder:
        if (store.AddToPackagePlaceHolder(text))
            return "accepted";
        for (const std::string& each : store.GetPackagePlaceHolders())
            held += each + ";";
        break;
    }
    return held;
}

TEST(StorableText, SettersRefuseWhatTheFilesCannotGiveBack) {
    const std::string nul("a\0b", 3);
    const std::string ok = "accepted";
    struct Row {
        std::string text;
        std::string name, value, load, pinType, placeHolder;
    } rows[] = {
        // text           name   value  load      pin type placeholder
        {"a\nb", "P", "old", "-0.01", "TS", "A;"},
        {"a\rb", "P", "old", "-0.01", "TS", "A;"},
        {nul, "P", "old", "-0.01", "TS", "A;"},
        {"it's \"q\"", "P", "old", "-0.01", "TS", "A;"},
        {"a,b", ok, ok, "-0.01", ok, "A;"},
        {"a/b", "P", ok, ok, "TS", ok},
        {"x", ok, ok, "-0.01", ok, ok},
        {"", "P", ok, ok, "TS", "A;"},
        {"it's", ok, ok, ok, ok, ok},
        {" say \"hi\" ", ok, ok, ok, ok, ok},
        {"$HOME", ok, ok, ok, ok, ok},
    };
    for (const Row& row : rows) {
        const std::string shown = "\"" + row.text + "\"";
        EXPECT_EQ(Put(Name, row.text), row.name) << shown;
        EXPECT_EQ(Put(Value, row.text), row.value) << shown;
        EXPECT_EQ(Put(Load, row.text), row.load) << shown;
        EXPECT_EQ(Put(PinType, row.text), row.pinType) << shown;
        EXPECT_EQ(Put(PlaceHolder, row.text), row.placeHolder) << shown;
    }
}

// Loads and placeholders share one value in the files: one quote character in one item and the
// other in another would make a value no quote can hold.
TEST(StorableText, TextsSharingOneValueCannotHoldBothQuotes) {
    CPFCoreSetupAPI store;
    EXPECT_EQ(store.AddToPackagePlaceHolder("it's"), 1);
    EXPECT_EQ(store.AddToPackagePlaceHolder("5\""), 0);
    EXPECT_EQ(store.AddToPackagePlaceHolder("o'clock"), 1);
    store.ClearPackagePlaceHolders();
    EXPECT_EQ(store.AddToPackagePlaceHolder("5\""), 1);

    store.SetCurrentPinByValue("OC");
    EXPECT_EQ(store.PutDefIol("1'"), 1);
    EXPECT_EQ(store.PutDefIoh("2\""), 0);
    EXPECT_EQ(store.PutDefIol("1\""), 1); // replaces the only single quote
    EXPECT_EQ(store.PutDefIoh("2\""), 1);
}

// Directive names in project files ignore letter case, so two such properties would be one.
TEST(StorableText, PropertyNamesDifferingOnlyInCaseAreRefused) {
    CPFCoreSetupAPI store;
    ASSERT_EQ(store.CreateProperty("Tolerance"), 1);
    std::string log;
    EXPECT_EQ(store.GetLogError(log), 0);
    EXPECT_EQ(store.CreateProperty("TOLERANCE"), 0);
    ASSERT_EQ(store.GetLogError(log), 1);
    EXPECT_EQ(log, "\nProperty TOLERANCE refused: property Tolerance differs from it only in "
                   "letter case");
    EXPECT_EQ(store.SetCurrentPropertyByName("TOLERANCE"), 0);

    ASSERT_EQ(store.CreateProperty("Other"), 1);
    EXPECT_EQ(store.PutPropertyName("tolerance"), 0);
    EXPECT_EQ(store.PutPropertyName("Tolerance"), 0); // an exact duplicate neither
    EXPECT_EQ(store.PutPropertyName("OTHER"), 1);     // its own name in other case
    store.SetCurrentPropertyByName("Tolerance");
    EXPECT_EQ(store.PutPropertyName("other"), 0);
    EXPECT_EQ(store.SetCurrentPropertyByName("OTHER"), 1);
}

} // namespace
