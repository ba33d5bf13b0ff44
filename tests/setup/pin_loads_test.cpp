#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <string>

TEST(PinLoads, TableWalkYieldsEveryTypeWithItsDefaults) {
    // type|side|Iil|Iih|Iol|Ioh
    const char* const expected[] = {
        "INPUT|Left|-0.01|0.01||",
        "TS|Right|-0.01|0.01|1.0|-1.0",
        "TS_BIDIR|Right|-0.01|0.01|1.0|-1.0",
        "OC_BIDIR|Right|-0.01|0.01|1.0|*",
        "OE_BIDIR|Right|-0.01|0.01|1.0|*",
        "BIDIR|Right|-0.01|0.01|1.0|-1.0",
        "OUTPUT|Right|||1.0|-1.0",
        "OC|Right|||1.0|*",
        "OE|Right|||1.0|*",
        "ANALOG|Left||||",
        "POWER|Top||||",
        "GROUND|Top||||",
        "NC|Bottom||||",
    };
    CPFCoreSetupAPI store;
    EXPECT_EQ(store.InitPinIteration(), 1);
    for (const char* row : expected) {
        ASSERT_EQ(store.GetNextPin(), 1) << row;
        std::string type, side, iil, iih, iol, ioh;
        store.GetDefPinType(type);
        store.GetDefPinLocation(side);
        store.GetDefIil(iil);
        store.GetDefIih(iih);
        store.GetDefIol(iol);
        store.GetDefIoh(ioh);
        EXPECT_EQ(type + "|" + side + "|" + iil + "|" + iih + "|" + iol + "|" + ioh, row);
    }
    EXPECT_EQ(store.GetNextPin() + store.GetNextPin(), 0);
    std::string type;
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
