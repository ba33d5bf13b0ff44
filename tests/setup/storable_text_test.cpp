// The store refuses, where the text is entered, what the project files could not give back:
// the setting keeps what it had and the setter returns 0.
#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// Puts `text` through one setter of a store holding property "P" = "old", pin type TS current
// with Iol "1.0" and the placeholder "A"; "+" when taken, else what the setting still holds.
using Setter = std::function<int(CPFCoreSetupAPI&, const std::string&, std::string&)>;
const Setter kName = [](CPFCoreSetupAPI& s, const std::string& t, std::string& held) {
    return s.PutPropertyName(t) || (s.GetPropertyName(held), 0);
};
const Setter kValue = [](CPFCoreSetupAPI& s, const std::string& t, std::string& held) {
    return s.PutPropertyValue(t) || (s.GetPropertyValue(held), 0);
};
const Setter kLoad = [](CPFCoreSetupAPI& s, const std::string& t, std::string& held) {
    return s.PutDefIol(t) || (s.GetDefIol(held), 0);
};
const Setter kPinType = [](CPFCoreSetupAPI& s, const std::string& t, std::string& held) {
    return s.PutDefPinType(t) || (s.GetDefPinType(held), 0);
};
const Setter kPlaceHolder = [](CPFCoreSetupAPI& s, const std::string& t, std::string& held) {
    return s.AddToPackagePlaceHolder(t) || (held = s.GetPackagePlaceHolders().back(), 0);
};

std::string Put(const Setter& setter, const std::string& text) {
    CPFCoreSetupAPI store;
    store.CreateProperty("P");
    store.PutPropertyValue("old");
    store.AddToPackagePlaceHolder("A");
    store.SetCurrentPinByValue("TS");
    std::string held;
    return setter(store, text, held) ? "+" : held;
}

TEST(StorableText, SettersRefuseWhatTheFilesCannotGiveBack) {
    const struct {
        std::string text, name, value, load, pinType, placeHolder;
    } rows[] = {
        // text                 name value  load   pin type placeholder
        {"a\nb", "P", "old", "1.0", "TS", "A"},
        {"a\rb", "P", "old", "1.0", "TS", "A"},
        {std::string("a\0b", 3), "P", "old", "1.0", "TS", "A"},
        {"it's \"q\"", "P", "old", "1.0", "TS", "A"},
        {"a,b", "+", "+", "1.0", "+", "A"},
        {"a/b", "P", "+", "+", "TS", "+"},
        {"x", "+", "+", "1.0", "+", "+"},
        {"", "P", "+", "+", "TS", "A"},
        {" say \"hi\" $HOME", "+", "+", "+", "+", "+"},
    };
    for (const auto& row : rows) {
        const std::string text = ::testing::PrintToString(row.text);
        EXPECT_EQ(Put(kName, row.text), row.name) << text;
        EXPECT_EQ(Put(kValue, row.text), row.value) << text;
        EXPECT_EQ(Put(kLoad, row.text), row.load) << text;
        EXPECT_EQ(Put(kPinType, row.text), row.pinType) << text;
        EXPECT_EQ(Put(kPlaceHolder, row.text), row.placeHolder) << text;
    }
}

// Loads and placeholders share one value in the files: one quote character in one item and the
// other in another would make a value no quote can hold. Directive names ignore letter case,
// so two property names differing only in case would be one.
TEST(StorableText, ItemsOfOneValueAndNamesIgnoringCase) {
    CPFCoreSetupAPI store;
    EXPECT_EQ(store.AddToPackagePlaceHolder("it's") + store.AddToPackagePlaceHolder("5\""), 1);
    store.ClearPackagePlaceHolders();
    EXPECT_EQ(store.AddToPackagePlaceHolder("5\""), 1);
    store.SetCurrentPinByValue("OC");
    EXPECT_EQ(store.PutDefIol("1'") + store.PutDefIoh("2\""), 1);
    EXPECT_EQ(store.PutDefIol("1\"") + store.PutDefIoh("2\""), 2); // the ' is gone

    ASSERT_EQ(store.CreateProperty("Tolerance"), 1);
    EXPECT_EQ(store.CreateProperty("TOLERANCE"), 0);
    std::string log;
    ASSERT_EQ(store.GetLogError(log), 1);
    EXPECT_EQ(log, "\nProperty TOLERANCE refused: property Tolerance differs from it only in "
                   "letter case");
    ASSERT_EQ(store.CreateProperty("Other"), 1);
    EXPECT_EQ(store.PutPropertyName("tolerance") + store.PutPropertyName("Tolerance"), 0);
    EXPECT_EQ(store.PutPropertyName("OTHER"), 1); // its own name in other case
    EXPECT_EQ(store.SetCurrentPropertyByName("OTHER"), 1);
    EXPECT_EQ(store.SetCurrentPropertyByName("Other") + store.CreateProperty("other"), 0);
}

} // namespace
