#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Names = std::vector<std::string>;

CPFCoreSetupAPI& Add(CPFCoreSetupAPI& store, const Names& names, int type = 1) {
    for (const std::string& name : names) {
        EXPECT_EQ(store.CreateProperty(name), 1) << name;
        store.PutPropertyType(type);
    }
    return store;
}

Names Visit(CPFCoreSetupAPI& store, int context = 0) {
    Names names;
    store.InitPropertyIteration();
    store.SetPropertyContext(static_cast<PFSetupPropertyContext>(context));
    std::string name;
    while (store.GetNextProperty()) {
        store.GetPropertyName(name);
        names.push_back(name);
    }
    return names;
}

std::string Current(const CPFCoreSetupAPI& store) {
    std::string name = "<none>";
    store.GetPropertyName(name);
    return name;
}

} // namespace

TEST(PropertyList, ContextFilterNeedsEveryBit) {
    CPFCoreSetupAPI store;
    EXPECT_EQ(store.GetNextProperty(), 0);
    Add(store, {"A"}, 0x01);
    Add(store, {"B"}, 0x05);
    Add(store, {"C"}, 0x04);
    Add(store, {"D"}, 0x80);
    EXPECT_EQ(Visit(store, 0), (Names{"A", "B", "C", "D"}));
    EXPECT_EQ(Visit(store, 0x05), (Names{"B"}));
    EXPECT_EQ(Visit(store, 0x04), (Names{"B", "C"}));
    EXPECT_EQ(Visit(store, 0x40), Names{});
    EXPECT_EQ(Current(store), "<none>");

    for (int context : {0, 0x03, 0x10, 0x80}) {
        store.SetPropertyContext(static_cast<PFSetupPropertyContext>(context));
        EXPECT_EQ(store.GetPFCorePropertyContext(), PFContextNone) << context;
    }
    store.SetPropertyContext(PFSetupContextPackagePin);
    EXPECT_EQ(store.GetPFCorePropertyContext(), PFContextPackagePin);
}

TEST(PropertyList, AttributeTextsKeepTheFieldOnUnknownText) {
    CPFCoreSetupAPI store;
    Add(store, {"P"}, 0);
    std::string text = "keep";
    // Visibility and alignment were never set: their texts are left as they were.
    EXPECT_EQ(store.GetPropertyVisibility(text) + store.GetPropertyAlignment(text), 2);
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(store.PutPropertyRequired("Yes") + store.PutPropertyRequired("yes"), 2);
    store.GetPropertyRequired(text);
    EXPECT_EQ(text, "Yes");
    const std::pair<const char*, const char*> texts[] = {
        {"Name", "Left"}, {"Value", "Right"}, {"Both", "Center"}, {"Invisible", "Left"}};
    for (const auto& [visibility, alignment] : texts) {
        store.PutPropertyVisibility(visibility);
        store.PutPropertyAlignment(alignment);
        EXPECT_EQ(store.PutPropertyVisibility("") + store.PutPropertyAlignment("Middle"), 2);
        std::string shown;
        store.GetPropertyVisibility(text);
        store.GetPropertyAlignment(shown);
        EXPECT_EQ(text + " " + shown, std::string(visibility) + " " + alignment);
    }
}

TEST(PropertyList, EveryAttributeOperationNeedsACurrentProperty) {
    CPFCoreSetupAPI store;
    Add(store, {"P"});
    store.InitPropertyIteration();
    std::string text = "keep";
    EXPECT_EQ(store.GetPropertyName(text) + store.GetPropertyVisibility(text), 0);
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(store.PutPropertyName("Q") + store.PutPropertyValue("v") + store.PutPropertyType(3) +
                  store.AddToPropertyType(3) + store.ResetPropertyType() +
                  store.PutPropertyRequired("Yes") + store.PutPropertyVisibility("Both") +
                  store.PutPropertyAlignment("Left") + store.DeleteCurrentProperty(),
              0);
    EXPECT_EQ(Visit(store), (Names{"P"}));
}

TEST(PropertyList, DeleteRemovesTheCurrentPropertyOnly) {
    CPFCoreSetupAPI store;
    Add(store, {"A", "B", "C"});
    ASSERT_EQ(store.SetCurrentPropertyByName("B"), 1);
    EXPECT_EQ(store.DeleteCurrentProperty(), 1);
    EXPECT_EQ(store.DeleteCurrentProperty(), 0);
    EXPECT_EQ(Visit(store), (Names{"A", "C"}));

    EXPECT_EQ(store.SetCurrentPropertyByName("Z"), 0); // a failed selection deletes nothing
    EXPECT_EQ(store.DeleteCurrentProperty(), 0);

    store.InitPropertyIteration();
    store.SetPropertyContext(PFSetupContextAll);
    store.GetNextProperty(); // A is current, the cursor already on C
    EXPECT_EQ(store.DeleteCurrentProperty(), 1);
    EXPECT_EQ(Visit(store), (Names{"C"}));

    Add(store, {"D"});
    EXPECT_EQ(store.DeleteCurrentProperty(), 1); // the one just created
    Add(store, {"D"});
    EXPECT_EQ(Visit(store), (Names{"C", "D"}));
}

TEST(PropertyList, SelectionPlacesTheCursor) {
    CPFCoreSetupAPI store;
    Add(store, {"A", "B", "C"});
    store.SetPropertyContext(PFSetupContextAll);
    store.SetCurrentPropertyByName("B");
    Names rest;
    for (std::string name; store.GetNextProperty(); rest.push_back(name)) {
        store.GetPropertyName(name);
    }
    EXPECT_EQ(rest, (Names{"B", "C"}));
    store.SetCurrentPropertyByName("missing"); // stops on the last property
    ASSERT_EQ(store.GetNextProperty(), 1);
    EXPECT_EQ(Current(store), "C");
}

// Names are exact and unique; renames and deletions keep the lookups right.
TEST(PropertyList, LookupsFollowCreationRenamesAndDeletions) {
    CPFCoreSetupAPI store;
    EXPECT_EQ(store.CreateProperty(""), 0);
    Add(store, {"A", "B"});
    EXPECT_EQ(store.CreateProperty("A"), 0);
    EXPECT_EQ(Current(store), "A");
    EXPECT_EQ(store.SetCurrentPropertyByName("a"), 0); // exact

    store.SetCurrentPropertyByName("B");
    store.PutPropertyName("X"); // B becomes X
    store.PutPropertyValue("was B");
    EXPECT_EQ(store.SetCurrentPropertyByName("B"), 0);
    EXPECT_EQ(store.CreateProperty("B"), 1);

    store.SetCurrentPropertyByName("A");
    store.DeleteCurrentProperty();
    store.SetCurrentPropertyByName("X");
    EXPECT_EQ(store.PutPropertyName("A"), 1); // the name is free again
    std::string value = "?";
    ASSERT_EQ(store.SetCurrentPropertyByName("A"), 1);
    store.GetPropertyValue(value);
    EXPECT_EQ(value, "was B");
    EXPECT_EQ(Visit(store), (Names{"A", "B"}));

    store.ClearProperties();
    EXPECT_EQ(store.InitPropertyIteration() + store.SetCurrentPropertyByName("A"), 0);
    Add(store, {"A"});
}
