#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <string>

// The walk yields the 13 records in the table's order (their defaults: the written default
// section in tests/persist), then stops on the last.
TEST(PinLoads, TableWalkYieldsEveryTypeOnce) {
    CPFCoreSetupAPI store;
    EXPECT_EQ(store.InitPinIteration(), 1);
    std::string types, type;
    while (store.GetNextPin() && store.GetDefPinType(type))
        types += type + " ";
    EXPECT_EQ(types,
              "INPUT TS TS_BIDIR OC_BIDIR OE_BIDIR BIDIR OUTPUT OC OE ANALOG POWER GROUND NC ");
    EXPECT_EQ(store.GetNextPin(), 0);
    EXPECT_EQ(store.GetDefPinType(type), 1); // the last record stays current
    EXPECT_EQ(type, "NC");
}

// Type lookup ignores case, position texts do not; a rename refuses another record's name.
TEST(PinLoads, LookupRenameAndPositionTexts) {
    CPFCoreSetupAPI store;
    ASSERT_EQ(store.SetCurrentPinByValue("oc"), 1);
    EXPECT_EQ(store.PutDefPinLocation(std::string("top")), 0);
    EXPECT_EQ(store.PutDefPinLocation(std::string("Top")), 1);
    PFPinPosition side{};
    store.GetDefPinLocation(side);
    EXPECT_EQ(side, PFTop);

    store.PutDefPinLocation(static_cast<PFPinPosition>(9));
    std::string text = "keep";
    EXPECT_EQ(store.GetDefPinLocation(text), 1);
    EXPECT_EQ(text, "keep");

    store.SetCurrentPinByValue("OE");
    EXPECT_EQ(store.PutDefPinType("input"), 0);
    EXPECT_EQ(store.PutDefPinType("oe"), 1); // its own name in another case
    EXPECT_EQ(store.PutDefPinType("OPEN_EMITTER"), 1);
    EXPECT_EQ(store.SetCurrentPinByValue("OE"), 0);
    EXPECT_EQ(store.SetCurrentPinByValue("open_emitter"), 1);
}

TEST(PinLoads, NoCurrentTypeRefusesEverything) {
    CPFCoreSetupAPI store;
    store.SetCurrentPinByValue("OC");
    EXPECT_EQ(store.SetCurrentPinByValue("UNSPEC"), 0);
    std::string text = "keep";
    EXPECT_EQ(store.GetDefPinType(text), 0);
    EXPECT_EQ(text, "UNDEFINED");
    text = "keep";
    EXPECT_EQ(store.GetDefPinLocation(text) + store.GetDefIoh(text), 0);
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(store.PutDefPinType("X") + store.PutDefPinLocation(PFLeft) +
                  store.PutDefPinLocation(std::string("Left")) + store.PutDefIil("-1") +
                  store.PutDefIih("1") + store.PutDefIol("1") + store.PutDefIoh("-1"),
              0);
}
