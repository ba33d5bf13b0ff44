#pragma once
// CPFCoreSetupAPI: every default the tool applies when it builds a part, with the Get/Put
// operations hosts, dialogs and the persistence layer use.
//
// Results: 1 for success, 0 for failure or "nothing there"; out-parameters stay untouched on
// failure. Enumerated settings come in an enum form (for hosts) and a text form (for files and
// drop-down lists); texts compare exactly unless an operation says otherwise. A literal 0
// passed to a Put with both forms would otherwise reach the text form as a null pointer, so
// those Puts refuse it at compile time: pass the enum.

#include "setup/setup_records.h"
#include "setup/setup_types.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// The project-file library's project; bound only while a read or write is in progress.
class SpiProject;
class CPFCoreSetupAPIPeer;

class CPFCoreSetupAPI {
public:
    using PinLoadList = std::list<std::unique_ptr<CPFCoreSetupPinLoad>>;
    using PropertyList = std::list<std::unique_ptr<CPFCoreSetupProperty>>;

    // Defaults, the 13 pin-type records and no properties.
    CPFCoreSetupAPI();
    ~CPFCoreSetupAPI();
    CPFCoreSetupAPI(const CPFCoreSetupAPI&) = delete;
    CPFCoreSetupAPI& operator=(const CPFCoreSetupAPI&) = delete;

    // File names. GetCPMFileName returns 0 while no project file was named.
    int GetDefFileName(std::string& name) const;
    int PutDefFileName(std::string name);
    int GetCPMFileName(std::string& name) const;
    int PutCPMFileName(std::string name);
    int GetLastReadWriteFileName(std::string& name) const;
    int PutLastReadWriteFileName(const std::string& name);

    // Error log: messages are appended as given (each begins with a newline); GetLogError hands
    // out the whole log and empties it, or returns 0 when it is empty.
    int PutLogError(const std::string& message);
    int GetLogError(std::string& log);

    // Mask of the optional groups the name/value writer emits: 0x01 properties, 0x04 pin
    // types, 0x08 format and interpretation options.
    uint16_t GetSaveSections() const { return SaveSections; }
    void PutSaveSections(uint16_t mask) { SaveSections = mask; }
    // Clears 0x08: templates leave the format and interpretation options out.
    void SetupSaveForTemplate();

    // Symbol defaults; none of these fails and none checks ranges (the Symbol page does).
    // Units have a single text, "Inches", which every text Put selects.
    int GetDefUnits(PFSymbolSizeUnits& units) const;
    int GetDefUnits(std::string& units) const;
    int PutDefUnits(PFSymbolSizeUnits units);
    int PutDefUnits(std::string units);
    int PutDefUnits(std::nullptr_t) = delete;
    int GetDefGridSize(float& size) const;
    int PutDefGridSize(float size);
    int GetDefNoteSize(float& size) const;
    int PutDefNoteSize(float size);
    // "Thin" or "Bold"; any value but PFThin reads as "Bold"; an unknown text changes nothing.
    int GetDefSymbolOutLine(PFSymbolOutline& outline) const;
    int GetDefSymbolOutLine(std::string& outline) const;
    int PutDefSymbolOutLine(PFSymbolOutline outline);
    int PutDefSymbolOutLine(std::string outline);
    int PutDefSymbolOutLine(std::nullptr_t) = delete;
    // "Automatic", "Horizontal" or "Vertical"; any other value reads as "Vertical"; an unknown
    // text changes nothing.
    int GetDefTextStyle(PFTextStyle& style) const;
    int GetDefTextStyle(std::string& style) const;
    int PutDefTextStyle(PFTextStyle style);
    int PutDefTextStyle(std::string style);
    int PutDefTextStyle(std::nullptr_t) = delete;
    int GetDefSymbolWidth(int& width) const;
    int PutDefSymbolWidth(int width);
    int GetDefSymbolLength(int& length) const;
    int PutDefSymbolLength(int length);
    int GetDefSymbolWidthIncrement(int& increment) const;
    int PutDefSymbolWidthIncrement(int increment);
    int GetDefSymbolLengthIncrement(int& increment) const;
    int PutDefSymbolLengthIncrement(int increment);

    // Property list. One list in creation order; each property carries the context bits it
    // applies to. A cursor walks the list and selects the current property, which the
    // property Get/Put operations need (they return 0 without one).
    int SetPropertyContext(PFSetupPropertyContext context);
    // The filter as a single context; combinations and part-table bits give PFContextNone.
    PFPropertyContext GetPFCorePropertyContext() const;
    // No current property; the cursor on the first property. 0 when the list is empty.
    int InitPropertyIteration();
    // The next property from the cursor that has every bit of the context becomes current.
    // At the end: no current property, 0.
    int GetNextProperty();
    // Exact name. Found: current, with the cursor on it. Not found: no current property, the
    // cursor on the last property, 0.
    int SetCurrentPropertyByName(const std::string& name);
    // Appends a property with this name and makes it current; the cursor does not move.
    // An existing name gives 0 and leaves that property current. A name the files cannot hold
    // (SettingNameProblem), or one that differs from another property's only in letter case
    // (directive names in project files ignore case; logged), gives 0.
    int CreateProperty(const std::string& name);
    // Deletes the current property; afterwards there is no current property and the cursor
    // is at the end. 0 without a current property.
    int DeleteCurrentProperty();
    // Deletes every property; no current property, the cursor at the end.
    void ClearProperties();
    int GetPropertyName(std::string& name) const;
    int GetPropertyValue(std::string& value) const;
    int GetPropertyType(int& type) const;
    int GetPropertyRequired(int& required) const;
    int GetPropertyRequired(std::string& required) const; // "Yes" for 1, else "No"
    int GetPropertyVisibility(PFPropertyVisibility& visibility) const;
    // "Name", "Value", "Both", "Invisible"; another stored value leaves the text unchanged.
    int GetPropertyVisibility(std::string& visibility) const;
    int GetPropertyAlignment(PFPropertyAlignment& alignment) const;
    // "Left", "Right", "Center"; another stored value leaves the text unchanged.
    int GetPropertyAlignment(std::string& alignment) const;
    // 0 for a name CreateProperty would refuse, or that another property has.
    int PutPropertyName(std::string name);
    // 0 for a value the files cannot hold (UnstorableTextProblem).
    int PutPropertyValue(std::string value);
    int ResetPropertyType();
    int AddToPropertyType(int bits);
    int PutPropertyType(int type);
    // A text outside "Yes"/"No", the visibility texts or the alignment texts leaves the
    // attribute unchanged and still returns 1 (with a current property).
    int PutPropertyRequired(std::string required);
    int PutPropertyVisibility(std::string visibility);
    int PutPropertyAlignment(std::string alignment);

    // Pin-type table: 13 records in a fixed order, modified but never removed. The pin Get/Put
    // operations act on the current record and return 0 without one.
    // Case is ignored; the iteration position is not touched.
    int SetCurrentPinByValue(const std::string& pinType);
    int InitPinIteration();
    // Makes the next record current, the first one when none is current; after the last one
    // returns 0 and keeps it current.
    int GetNextPin();
    // Without a current record yields "UNDEFINED" and returns 0.
    int GetDefPinType(std::string& pinType) const;
    // Refuses (0) a name another record already has, ignoring case: it would hide that
    // record from SetCurrentPinByValue; and a name the files cannot hold (SettingNameProblem).
    int PutDefPinType(std::string pinType);
    int GetDefPinLocation(PFPinPosition& position) const;
    // "Bottom", "Left", "Right", "Top"; another stored value leaves the text unchanged.
    int GetDefPinLocation(std::string& position) const;
    int PutDefPinLocation(PFPinPosition position);
    // Exact text; an unknown one returns 0 and changes nothing.
    int PutDefPinLocation(std::string position);
    int PutDefPinLocation(std::nullptr_t) = delete;
    // Load texts are not checked as loads (callers use the load checks), but one the files
    // cannot give back (PinLoadProblem, or a quote character while another load of the record
    // holds the other one) is refused with 0.
    int GetDefIil(std::string& load) const;
    int GetDefIih(std::string& load) const;
    int GetDefIol(std::string& load) const;
    int GetDefIoh(std::string& load) const;
    int PutDefIil(std::string load);
    int PutDefIih(std::string load);
    int PutDefIol(std::string load);
    int PutDefIoh(std::string load);

    // Low-asserted notation. Each notation has an editable value (what these Get/Put see) and
    // a committed one (what the pin-name predicates use), updated when the host adopts the
    // settings. Texts are compared ignoring case.
    int GetDefReadActiveLowPinNotation(PFActiveLow& notation) const;
    int GetDefReadActiveLowPinNotation(std::string& notation) const;
    int PutDefReadActiveLowPinNotation(PFActiveLow notation); // 0 means the default
    int PutDefReadActiveLowPinNotation(std::string notation); // unknown text: the default
    int PutDefReadActiveLowPinNotation(std::nullptr_t) = delete;
    int GetDefWriteActiveLowPinNotation(PFActiveLow& notation) const;
    int GetDefWriteActiveLowPinNotation(std::string& notation) const;
    int PutDefWriteActiveLowPinNotation(PFActiveLow notation); // 0 means the default
    int PutDefWriteActiveLowPinNotation(std::string notation); // unknown text: the default
    int PutDefWriteActiveLowPinNotation(std::nullptr_t) = delete;
    int HasReadActiveLowPinNotationChanged() const;
    // 0 while the read notation has a pending change. Otherwise a changed write notation is
    // committed and 1 returned.
    int HasWriteActiveLowPinNotationChanged();
    void UpdateOrigReadWriteActiveLowPinNotation();

    // Pin-name predicates by the committed notations; 'n' and 'N' count alike. They do not
    // allocate: hosts call them for every pin they build.
    int IsPinReadActiveLow(const std::string& pin) const;
    int IsPinWriteActiveLow(const std::string& pin) const;
    // Drops one marker: a trailing "*", else a trailing "_N" (capital N only), else a leading
    // "-". 0 for an empty name.
    int CreateActiveHighPin(std::string& pin) const;
    // Appends the write suffix without looking at the name first. 0 for an empty name.
    int CreateActiveLowPin(std::string& pin) const;
    int GetAssertionChar(std::string& suffix) const; // "_N" or "*"

    int GetDefUseMinusInPackage() const { return DefUseMinusInPackage; }
    void PutDefUseMinusInPackage(int use) { DefUseMinusInPackage = use; }
    int GetUsePinNamesForText() const { return UsePinNamesForText; }
    void PutUsePinNamesForText(int use) { UsePinNamesForText = use; }
    int GetIgnoreSymbolPinText() const { return IgnoreSymbolPinText; }
    void PutIgnoreSymbolPinText(int ignore) { IgnoreSymbolPinText = ignore; }
    // 1 exactly when QRV_LMAN_IGNORE_PINTEXT is "TRUE"; stores and returns the answer.
    int ReadIgnoreSymbolPinText();
    int GetUseSplitInstProp() const { return UseSplitInstProp; }
    void PutUseSplitInstProp(int use) { UseSplitInstProp = use; }
    // Commits a changed UseSplitInstProp and returns 1; else 0.
    int HasUseSplitInstPropChanged();
    void UpdateOrigUseSplitInstProp();

    // Pin-name interpretation, stored without a check (the interpretation page checks that the
    // three agree).
    int PutAlphaNumValue(PFPinInterpret_AlphaNum value);
    int GetAlphaNumValue(PFPinInterpret_AlphaNum& value) const;
    int PutNumAlphaValue(PFPinInterpret_NumAlpha value);
    int GetNumAlphaValue(PFPinInterpret_NumAlpha& value) const;
    int PutNumAlphaNumValue(PFPinInterpret_NumAlphaNum value);
    int GetNumAlphaNumValue(PFPinInterpret_NumAlphaNum& value) const;

    // Chips-file reading options.
    int ReadChipsInGroupFormat() const { return ChipsInGroupFormat; }
    void SetGroupFormatForReading(int group) { ChipsInGroupFormat = group; }
    int GetFormatForSizeablePins() const { return FormatForSizeablePins; }
    void SetFormatForSizeablePins(int format) { FormatForSizeablePins = format; }
    int GetFormatForVectorPins() const { return FormatForVectorPins; }
    void SetFormatForVectorPins(int format) { FormatForVectorPins = format; }

    // Overridden message numbers and package placeholders: appended in order, duplicates
    // kept. "?" is always a placeholder; other texts compare exactly. A placeholder the files
    // cannot give back (PlaceHolderProblem, or a quote character while another placeholder
    // holds the other one) is refused with 0.
    void AddToOverriddenError(uint16_t number);
    int IsOverriddenError(uint16_t number) const;
    int AddToPackagePlaceHolder(std::string placeHolder);
    int IsPackagePlaceHolder(const std::string& text) const;
    const std::vector<uint16_t>& GetOverriddenErrors() const { return OverriddenErrors; }
    const std::vector<std::string>& GetPackagePlaceHolders() const { return PackagePlaceHolders; }
    void ClearOverriddenErrors() { OverriddenErrors.clear(); }
    void ClearPackagePlaceHolders() {
        PackagePlaceHolders.clear();
        PlaceHolderQuotes = 0;
    }

    // Persistence (defined with the project binding).
    // With `keep`, ReadSetup keeps the project it read until the next WriteCPMFile, which then
    // writes through it when the file is still as read instead of reading it again (a command
    // that reads, changes and writes a large project once). Off by default: a host's store
    // holds no project between calls.
    void KeepProjectForWrite(bool keep) { KeepReadProject = keep; }
    // With false, ReadSetup does not note the values it read, which WriteCPMFile needs to
    // write only what this store changed: a store that only answers questions (the tool's
    // get, show, pin, diff) reads faster. WriteCPMFile after such a read refuses, so nothing
    // is lost. On by default.
    void RememberReadForWrite(bool remember) { RememberReadValues = remember; }
    // With a key, ReadSetup reads only the entries of that key (letter case ignored); every
    // other setting keeps the value the store held. A store asked for one setting (the tool's
    // get) reads faster; as after a read that did not note its values, WriteCPMFile refuses.
    // Empty, the default: every entry.
    void ReadOnlyEntriesOf(std::string key) { ReadOnlyKey = std::move(key); }
    int ReadSetup();
    int WriteSetup();
    int WriteCPMFile();
    // A project held in memory instead of a file (a host that keeps it elsewhere): ReadSetupText
    // reads the store from `text` as ReadSetup reads DefFileName's file, and WriteCPMText
    // writes into `text`, the project as it is now, what WriteCPMFile would write into
    // CPMFileName's file (`text` stays as it was on failure). The names only name the text in
    // messages and origins; the install and site files are read as always.
    int ReadSetupText(const std::string& text);
    int WriteCPMText(std::string& text);
    void ProcessNameValuePair(std::string name, std::string value);
    // Loads a part template from its text (DefFileName names it in messages). The property,
    // overridden-error and placeholder lists become the template's, with the install and site
    // entries it does not replace; of the other settings only those the template itself names
    // change. 1, or 0 with "\nUnable to read %s" logged when the text or the installed files
    // cannot be read.
    int ReadTemplateSetup(const std::string& text);

private:
    friend class CPFCoreSetupAPIPeer;

    int PutEntryInProject();
    int PutEntryInProjectInNewFormat();
    // ReadSetup and WriteCPMFile, or with `text` their forms for a project held in memory:
    // the project is that text instead of the file, and is written into it.
    int ReadProjectSetup(const std::string* text);
    int WriteProject(std::string* text);
    // WriteCPMFile's steps, with the project file's lock held: the write as such, which
    // rewrites only the settings entries of `changed` keys; and the same over what the file
    // holds now, with those settings of this store replayed over it.
    int WriteCPMFileLocked(const std::vector<std::string>& changed, std::string* text);
    int WriteChangesOverFile(const std::vector<std::string>& changed, std::string* text);
    // Records a read of `file`, whose identity (device, inode, size, time) was `stamp` before
    // the read began.
    void RememberRead(const std::string& file, const unsigned long long (&stamp)[4], bool failed);
    int LoadSettings(const std::string& fileName, const std::string* text);
    // Hands one entry read from `file` at `line` to ProcessNameValuePair, with its variables
    // expanded; text the files could not hold is not read (logged).
    void ReadEntry(const std::string& name, const std::string& stored, const std::string& file,
                   int line);
    // The text to write for an entry (or a property's value): the text a read found, naming
    // environment variables, while the setting is still what that text read as; else `value`.
    std::string StoredEntryValue(const std::string& key, const std::string& value) const;
    std::string StoredPropertyValue(const std::string& name, const std::string& value) const;
    int CloseProject();
    int CreateProjectFile(const std::string& fileName);
    int SaveProjectFile(const std::string& fileName, int writeAll);
    int DeleteSettingsSection();
    int PutEntry(const std::string& name, const std::string& value);
    int ReplaceEntry(const std::string& name, const std::string& value);

    void BuildPinTable();
    CPFCoreSetupProperty* CurrentPropertyRecord() const;
    CPFCoreSetupPinLoad* CurrentPinRecord() const;
    int GetLoad(std::string CPFCoreSetupPinLoad::*field, std::string& load) const;
    int PutLoad(std::string CPFCoreSetupPinLoad::*field, std::string load);
    PropertyList::iterator FindProperty(const std::string& name);
    // The property whose name equals `name` ignoring case, or end().
    PropertyList::iterator FindPropertyIgnoringCase(const std::string& name);
    // 0, logged, when another property's name differs from `name` only in letter case.
    int RefuseCaseTwin(PropertyList::iterator self, const std::string& name);

    int UsePinNamesForText = 1;
    int IgnoreSymbolPinText = 1;
    int UseSplitInstProp = 1;
    int OrigUseSplitInstProp = 1;
    uint16_t SaveSections = 0x00FF;
    std::string DefFileName;
    std::string LastReadWriteFileName;
    std::string CPMFileName;
    std::string LogError;
    // Set together with its deleter by whoever binds a project.
    std::unique_ptr<SpiProject, void (*)(SpiProject*)> Project{nullptr, nullptr};
    // The project ReadSetup read, kept for the next WriteCPMFile (KeepProjectForWrite).
    std::unique_ptr<SpiProject, void (*)(SpiProject*)> ReadProject{nullptr, nullptr};
    bool KeepReadProject = false;
    bool RememberReadValues = true;
    std::string ReadOnlyKey;
    PFSymbolSizeUnits DefUnits = PFInches;
    PFSymbolOutline DefSymbolOutLine = PFThin;
    PFTextStyle DefTextStyle = PFAutomatic;
    float DefGridSize = 0.05f;
    float DefNoteSize = 0.8f;
    int DefSymbolWidth = 6;
    int DefSymbolLength = 6;
    int DefSymbolWidthIncrement = 1;
    int DefSymbolLengthIncrement = 1;

    // Records change only through the operations above: the cursors and the name index
    // refer into the lists. end() stands for "none".
    PinLoadList PinLoads;
    PinLoadList::iterator PinIterPos = PinLoads.end();
    PinLoadList::iterator CurrentPin = PinLoads.end();
    PropertyList Properties;
    PropertyList::iterator CurrentProperty = Properties.end();
    PropertyList::iterator PropertyCursor = Properties.end();
    PFSetupPropertyContext PropertyContext = PFSetupContextAll;
    // Name in upper case -> the property of that name (names are unique ignoring case), so
    // that loading a long list stays linear.
    std::unordered_map<std::string, PropertyList::iterator> PropertyIndex;

    PFPinInterpret_AlphaNum AlphaNumValue = PFAlphaNum_BN_B;
    PFPinInterpret_NumAlpha NumAlphaValue = PFNumAlpha_BN;
    PFPinInterpret_NumAlphaNum NumAlphaNumValue = PFNumAlphaNum_BN;
    PFActiveLow DefReadActiveLowPinNotation = PFActiveLow_Suffix_Star_And_N;
    PFActiveLow OrigReadActiveLowNotation = PFActiveLow_Suffix_Star_And_N;
    PFActiveLow DefWriteActiveLowPinNotation = PFActiveLow_Suffix_Star;
    PFActiveLow OrigWriteActiveLowNotation = PFActiveLow_Suffix_Star;
    int DefUseMinusInPackage = 1;
    int ChipsInGroupFormat = 1;
    int FormatForSizeablePins = 1;
    int FormatForVectorPins = 1;
    std::vector<uint16_t> OverriddenErrors;
    std::vector<std::string> PackagePlaceHolders;
    int PlaceHolderQuotes = 0; // QuoteKinds of all placeholders together

    // Entry key -> the value a read found as stored and the value it read from it, for the
    // entries whose stored value holds a '$': written again, such a value would not always
    // read as the store holds it.
    struct EntrySource {
        std::string stored, read;
    };
    std::unordered_map<std::string, EntrySource> EntrySources;

    // What the last ReadSetup of a project read, so a later WriteCPMFile can tell this store's
    // own changes from what other writers put into the file meanwhile: the file, its identity
    // then (device, inode, size, modification time in nanoseconds), and every setting's value
    // (key, value as SettingValue gives it; properties while held) right after the read.
    struct ReadRecord {
        std::string file;
        unsigned long long stamp[4] = {0, 0, 0, 0};
        std::vector<std::pair<std::string, std::string>> entries;
        bool failed = false;  // the read failed: writing would lose what the file holds
        bool unnoted = false; // read without noting the values (RememberReadForWrite)
    };
    ReadRecord LastRead;
};
