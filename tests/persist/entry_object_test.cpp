#include "persist_fixture.h"
#include "support/fake_host.h"
#include "support/installation.h"

#include "base/error_record.h"
#include "persist/setup_main.h"
#include "projfile/file_io.h"
#include "setup/setting_tables.h"
#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace pfsetup::test {
namespace {

class EntryObject : public ::testing::Test {
protected:
    void SetUp() override {
        Pfsetup_initialize();
        store = Pfsetup_store();
        main = Pfsetup_main();
    }
    TempInstallation inst;
    FakeHost host;
    CPFCoreSetupAPI* store = nullptr;
    CPFSetupMain* main = nullptr;
};

TEST_F(EntryObject, LibraryFlowBindsBothFileNamesAndReads) {
    WriteFile(inst.Path("p.cpm"), "START_GLOBAL\nEND_GLOBAL\n");
    store->AddToPackagePlaceHolder("X");
    main->InitialiseSetupForLibFlow(inst.Path("p.cpm"));
    EXPECT_EQ(Get(*store, &Store::GetDefFileName), inst.Path("p.cpm"));
    EXPECT_EQ(Get(*store, &Store::GetCPMFileName), inst.Path("p.cpm"));
    EXPECT_TRUE(store->GetPackagePlaceHolders().empty());
    EXPECT_TRUE(host.messages.empty()); // nothing is shown
}

TEST_F(EntryObject, OldTemplatesAreConvertedAndLoadedAndTheFileNamesRestored) {
    const std::string tpl = inst.Path("old.tpl");
    WriteFile(tpl, "{ old }\r\nstart_pfg\r\nSymbol_Width '10'\r\nProp_A '1,v,No,Name,Left'\r\n"
                   "END_PFG\r\nSTART_PFG \r\n");
    store->PutDefFileName("project.cpm");
    store->PutLastReadWriteFileName("last.cpm");
    EXPECT_EQ(main->LoadDataFromFile(tpl.c_str()), 1);
    EXPECT_EQ(ReadFile(tpl), "{ old }\nSTART_PFG142\nSymbol_Width '10'\nProp_A '1,v,No,Name,Left'\n"
                             "END_PFG142\nSTART_PFG142 \n");
    EXPECT_EQ(Get(*store, &Store::GetDefSymbolWidth), 10);
    EXPECT_EQ(store->SetCurrentPropertyByName("A"), 1);
    EXPECT_EQ(Get(*store, &Store::GetDefFileName), "project.cpm");
    EXPECT_EQ(Get(*store, &Store::GetLastReadWriteFileName), "last.cpm");
    // "START_PFG " opened a section that never ends; that is no failure of the read.
    EXPECT_TRUE(host.messages.empty());
}

// The old section's lines are renamed exactly where the reader takes them for its start and
// end; a renaming that would change what the reader reads is refused, the text left as it is.
TEST(TemplateConversion, RenamesWhatTheReaderTakesForTheOldSection) {
    const struct {
        const char* text;
        const char* converted; // nullptr: as it was
        int renamed;
    } rows[] = {
        // clang-format off
        {"START_PFG\nA '1'\nEND_PFG\n",            "START_PFG142\nA '1'\nEND_PFG142\n",        2},
        {"start_pfg \r\nA 1\r\n\tEnd_Pfg\r\n",     "START_PFG142 \nA 1\n\tEND_PFG142\n",     2},
        {"\xEF\xBB\xBF{c}\n START_PFG{o}\rEND_PFG{x}", "\xEF\xBB\xBF{c}\n START_PFG142{o}\nEND_PFG142{x}\n", 2},
        {"START_PFG\nEND_PFG {c}\n'END_PFG' 1\n",  "START_PFG142\nEND_PFG {c}\n'END_PFG142' 1\n", 2},
        {"START_PFG\nA 1\nSTART_B\nEND_B\n",        "START_PFG142\nA 1\nSTART_B\nEND_B\n",    1},
        {"START_PFG142\r\nEND_PFG142\r\n",          nullptr,                                   0},
        {"START_PFGX\nEND_PFG\nEND_PFGX\n",          nullptr,                                   0},
        {"START_PFG\nEND_PFG142\nEND_PFG\n",         nullptr,                                  -1},
        // clang-format on
    };
    for (const auto& row : rows) {
        std::string text = row.text, problem;
        EXPECT_EQ(ConvertTemplateText(text, problem), row.renamed) << row.text;
        EXPECT_EQ(text, row.converted ? row.converted : row.text);
        EXPECT_EQ(problem.empty(), row.renamed >= 0) << problem;
    }
}

// A random setup: every key gets a value from what its rule allows; properties held are
// replaced or kept, new ones added; the lists get up to three items.
void Randomize(CPFCoreSetupAPI& s, std::mt19937& random) {
    const auto pick = [&random](long long low, long long high) {
        return low + static_cast<long long>(random() % static_cast<unsigned>(high - low + 1));
    };
    const auto choice = [&](const SettingKey& row) {
        return std::string(row.choices[static_cast<std::size_t>(
                                           pick(0, static_cast<long long>(row.choices.size()) - 1))]
                               .text);
    };
    const auto list = [&](auto item) {
        std::string text;
        for (long long n = pick(0, 3); n > 0; --n)
            text += (text.empty() ? "" : ",") + item();
        return text;
    };
    const char* const loads[] = {"x", "*", "0.5", "2"};
    for (const SettingKey& row : SettingKeys()) {
        std::string value;
        switch (row.form) {
        case ValueForm::PinLoads:
            for (const PinTypeRow& type : kPinTypes) {
                value.clear();
                for (int n = 0; n < 4; ++n) {
                    std::string load = loads[pick(0, 3)];
                    if ((n == 0 || n == 3) && load != "x" && load != "*")
                        load = "-" + load; // Iil and Ioh are negative
                    value += load + ",";
                }
                ReadSettingsEntry(s, row.key + std::string(type.name),
                                  value + kPositionWords[pick(0, 3)].text);
            }
            continue;
        case ValueForm::Property: {
            std::vector<std::string> held;
            for (const SettingsEntry& entry : CollectSettingsEntries(s, kSaveProperties))
                if (ClassifySettingsKey(entry.key) == SettingsKeyKind::Property)
                    held.push_back(entry.key);
            for (const std::string& key : held)
                if (pick(0, 1))
                    ReplaceSettingsEntry(s, key, nullptr);
            for (long long n = pick(0, 3); n > 0; --n) {
                const long long type = pick(1, row.max) & row.max;
                value = std::to_string(type ? type : 1) + ",v" + std::to_string(pick(0, 9)) + "," +
                        (pick(0, 1) ? "Yes" : "No") + ",Both,Center";
                ReplaceSettingsEntry(s, "Prop_P" + std::to_string(pick(0, 5)), &value);
            }
            continue;
        }
        case ValueForm::Text:
        case ValueForm::Flag:
        case ValueForm::NumericFlag:
            value = choice(row);
            break;
        case ValueForm::Fraction:
            value = std::to_string(pick(1, 2000) / 1000.0);
            break;
        case ValueForm::Integer:
        case ValueForm::Code:
            value = std::to_string(pick(row.min, row.max));
            break;
        case ValueForm::NumberList:
            value = list([&] { return std::to_string(pick(row.min, row.max)); });
            break;
        case ValueForm::TextList:
            value = list([&] { return "T" + std::to_string(pick(0, 9)); });
            break;
        }
        ReplaceSettingsEntry(s, row.key, &value);
    }
}

// The format group alone, as the entries give it.
std::string FormatGroup(CPFCoreSetupAPI& store) {
    std::string text;
    for (const SettingsEntry& entry : CollectSettingsEntries(store, kSaveFormat))
        if (FindSettingKey(entry.key)->saveGroup == kSaveFormat)
            text += entry.key + "=" + entry.value + "\n";
    return text;
}

// Save a template from any setup A, load it into any setup B: every setting a template can
// carry is then A's in B, and B keeps its format group and file names.
TEST_F(EntryObject, TemplatesGiveBackTheSetupTheyWereSavedFrom) {
    inst.WriteSite("START_PFG142\nProp_SITE '4,s,No,,'\nPackagePlaceHolder 'S'\n"
                   "User_Defined_OverriddenError '5'\nUseSplitInstProp '0'\nSymbol_Width '9'\n"
                   "PinType_NC '1,x,x,x,Left'\nEND_PFG142\n");
    const std::string project = inst.Path("a.cpm"), tpl = inst.Path("a.tpl");
    WriteFile(project, "START_GLOBAL\nEND_GLOBAL\n");
    std::mt19937 random(20261207);
    for (int round = 0; round < 60; ++round) {
        CPFCoreSetupAPI a;
        ASSERT_EQ(ReadProject(a, project), 1);
        Randomize(a, random);
        a.SetupSaveForTemplate();
        a.PutDefFileName(tpl);
        ASSERT_EQ(a.WriteSetup(), 1);

        store->PutDefFileName(project);
        ASSERT_EQ(store->ReadSetup(), 1);
        Randomize(*store, random);
        const std::string format = FormatGroup(*store);
        ASSERT_EQ(main->LoadDataFromFile(tpl.c_str()), 1);
        ASSERT_EQ(Snapshot(*store, kTemplateGroups), Snapshot(a, kTemplateGroups)) << round << "\n"
                                                                                   << ReadFile(tpl);
        EXPECT_EQ(FormatGroup(*store), format);
        EXPECT_EQ(Get(*store, &Store::GetDefFileName), project);
    }
    EXPECT_TRUE(host.messages.empty());
    std::string text = ReadFile(tpl);
    EXPECT_EQ(text.find("Format_"), std::string::npos) << text;
}

TEST_F(EntryObject, TemplatesAreRewrittenOnlyToConvertThem) {
    const std::string current = inst.Path("current.tpl");
    const std::string text = "{ kept as it is }\r\nSTART_PFG142\r\nSymbol_Width '10'\r\n"
                             "END_PFG142\r\n";
    WriteFile(current, text);
    EXPECT_EQ(main->LoadDataFromFile(current.c_str()), 1);
    EXPECT_EQ(ConvertTemplateFile(current).renamed, 0);
    EXPECT_EQ(ReadFile(current), text);
    EXPECT_EQ(Get(*store, &Store::GetDefSymbolWidth), 10);

    // An old template that cannot be rewritten is loaded as converted and left as it was.
    const std::string old = inst.Path("old.tpl");
    WriteFile(old, "START_PFG\nSymbol_Width '11'\nEND_PFG\n");
    SetWriteFaultForTesting(WriteFault{WriteFault::CreateTemporary, EACCES, 0});
    EXPECT_EQ(main->LoadDataFromFile(old.c_str()), 1);
    SetWriteFaultForTesting(std::nullopt);
    EXPECT_EQ(ReadFile(old), "START_PFG\nSymbol_Width '11'\nEND_PFG\n");
    EXPECT_EQ(Get(*store, &Store::GetDefSymbolWidth), 11);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "\nThe template " + old +
                                         " was loaded with its section names converted; the "
                                         "file was left as it was: The file could not be "
                                         "accessed. (Permission denied)");

    // A template that cannot be converted, or holds no settings, applies nothing and says so.
    const std::string refused = inst.Path("refused.tpl");
    const std::string empty = inst.Path("empty.tpl");
    WriteFile(refused, "START_PFG\nSymbol_Width '12'\nEND_PFG142\nEND_PFG\n");
    WriteFile(empty, "START_PFG142\nUnknown_Key '1'\nEND_PFG142\n");
    for (const std::string& tpl : {refused, empty}) {
        host.messages.clear();
        EXPECT_EQ(main->LoadDataFromFile(tpl.c_str()), 1);
        EXPECT_EQ(LastError().kind, ErrorKind::Value);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text,
                  tpl == refused ? "\nUnable to read " + refused +
                                       ": renaming its section PFG to PFG142 would change what "
                                       "it holds"
                                 : "\nNothing to apply: the template " + empty +
                                       " holds no settings in a PFG142 section");
    }
    EXPECT_EQ(ReadFile(refused), "START_PFG\nSymbol_Width '12'\nEND_PFG142\nEND_PFG\n");
    EXPECT_EQ(Get(*store, &Store::GetDefSymbolWidth), 11);
}

TEST_F(EntryObject, CancelledDialogChangesNothing) {
    store->PutDefFileName("project.cpm");
    EXPECT_EQ(main->LoadDataFromFile(nullptr), 2);
    ASSERT_EQ(host.fileDialogs.size(), 1u);
    const FileDialogRequest& r = host.fileDialogs[0].request;
    EXPECT_FALSE(host.fileDialogs[0].save);
    EXPECT_EQ(r.title, "Load Part Template");
    EXPECT_EQ(r.defaultExtension, "tpl");
    EXPECT_EQ(r.initialName, "template");
    EXPECT_EQ(r.filter, "Template Files (*.tpl)|*.tpl||");
    EXPECT_EQ(Get(*store, &Store::GetDefFileName), "project.cpm");
}

TEST_F(EntryObject, UnreadableTemplatesAreShownOnceAndRestoreTheFileNames) {
    const std::string tpl = inst.Path("locked.tpl");
    WriteFile(tpl, "START_PFG142\nSymbol_Width '3'\nEND_PFG142\n");
    ::chmod(tpl.c_str(), 0);
    const bool readable = ::access(tpl.c_str(), R_OK) == 0; // root reads anything
    store->PutDefFileName("project.cpm");
    host.filePaths.push_back(tpl);
    EXPECT_EQ(main->LoadDataFromFile(nullptr), 1);
    // Root reads a file without permissions: then there is nothing to report.
    ASSERT_EQ(host.messages.size(), readable ? 0u : 1u);
    if (!readable) {
        EXPECT_EQ(host.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(host.messages[0].text, "\nUnable to read " + tpl);
    }
    EXPECT_EQ(Get(*store, &Store::GetDefFileName), "project.cpm");
    EXPECT_EQ(Log(*store), ""); // shown and cleared

    host.messages.clear();
    EXPECT_EQ(main->LoadDataFromFile(inst.Path("missing.tpl").c_str()), 1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(host.messages[0].text, "\nUnable to read " + inst.Path("missing.tpl"));
    EXPECT_EQ(DescribeError(LastError()), inst.Path("missing.tpl") + ": no such file");
}

TEST_F(EntryObject, DialogsWithoutTheUiLibraryReportThatNoneIsAvailable) {
    SetSetupDialogHooks({});
    EXPECT_FALSE(main->DisplaySetup());
    EXPECT_EQ(main->DisplaySetupForInterpretation(), 2u);
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_TRUE(LastError().Failed());
}

} // namespace
} // namespace pfsetup::test
