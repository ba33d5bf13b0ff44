// The settings as the tree under "PFG": pin-type loads, default properties by context and
// the symbol settings.

#include "base/ascii_text.h"
#include "persist/settings_entries.h"
#include "persist/tree/ar_tree.h"
#include "persist/tree/st_setup_file.h"
#include "setup/number_text.h"
#include "setup/record_fields.h"
#include "setup/setup_store.h"

#include <cmath>
#include <unordered_map>
#include <vector>

using namespace pfsetup;

namespace {

const char* const kPackagePinTypes[] = {"INPUT", "TS",    "TSBIDIR", "OCBIDIR", "OEBIDIR",
                                        "OC",    "OE",    "ANALOG",  "POWER",   "GROUND",
                                        "NC",    "BIDIR", "UNSPEC"};

constexpr int kTableContexts =
    PFSetupContextPtfGlobal | PFSetupContextPtfPackage | PFSetupContextPtfPhysical;

ARTreeNode* Find(const std::string& path) {
    ARStatus status;
    ARTreeNode* node = nullptr;
    ARObjFind().getObj(path, node, status);
    return node;
}

// The node of a path the writer expects, made (plain nodes, a value node for a leaf) when the
// parsed tree lacks it.
ARTreeNode* Expect(const std::string& path, bool leaf) {
    if (ARTreeNode* node = Find(path))
        return node;
    const size_t slash = path.rfind('/');
    ARTreeNode* parent =
        slash == std::string::npos ? nullptr : Expect(path.substr(0, slash), false);
    if (!parent)
        return nullptr;
    const std::string name = path.substr(slash + 1);
    return parent->addChild(leaf ? new ARTNameValue(name) : new ARTreeNode(name), 1, -1);
}

// The collection node under `parent`, made when missing.
ARTreeNode* Collection(const std::string& parentPath, const std::string& name) {
    ARTreeNode* parent = Expect(parentPath, false);
    if (!parent)
        return nullptr;
    ARTreeNode* list = nullptr;
    if (!parent->getNamedChild(name, list, false))
        list = parent->addChild(new ARTreeNode(name), 1, -1);
    return list;
}

bool IsForbidden(const std::string& listPath, const std::string& name) {
    ARTreeNode* list = Find(listPath);
    return list && list->getNamedChild(name);
}

// Appends `node` under `list`, replacing a child of the same name.
void Replace(ARTreeNode* list, ARTreeNode* node) {
    ARTreeNode* old = nullptr;
    if (list->getNamedChild(node->name(), old, false))
        list->deleteChild(old);
    list->addChild(node, 1, -1);
}

// Takes the child `name` out of the list at `path`, if both are there.
void TakeOut(const std::string& path, const std::string& name) {
    if (ARTreeNode* list = Find(path))
        if (ARTreeNode* child = list->getNamedChild(name))
            list->deleteChild(child);
}

int HeightOf(const std::string& path) {
    ARStatus status;
    int height = 0;
    ARObjFind::getObjValueInt(path, height, status);
    return height;
}

void SetLeaf(const std::string& path, const std::string& value) {
    if (ARTreeNode* leaf = Expect(path, true))
        leaf->addParam(1, value);
}

} // namespace

int CPFCoreSetupAPI::PutEntryInProjectInNewFormat() {
    Expect("PFG/PinType", false);
    InitPinIteration();
    if (SaveSections & kSavePinTypes) {
        ARTreeNode* pinTypes = Find("PFG/PinType");
        while (GetNextPin()) {
            const PinTypeFields pin = CurrentPinTypeFields(*this);
            std::string nodeName;
            for (char c : pin.type)
                if (c != '_')
                    nodeName += c;
            if (ARTreeNode* node = pinTypes ? pinTypes->getNamedChild(nodeName) : nullptr)
                node->addParam(1, PinTypeValue(pin));
        }
    }

    // The package-pin type nodes are not made: a file may take one out.
    for (const char* path : {"PFG/Symbol", "PFG/Package", "PFG/Ptf"})
        Expect(path, false);
    const std::string symbolHeight = FormatInt(HeightOf("PFG/Symbol/SymProperty/DefaultHeight"));
    const std::string pinHeight = FormatInt(HeightOf("PFG/Symbol/PinProperty/DefaultHeight"));

    if (SaveSections & kSaveProperties) {
        std::unordered_map<std::string, int> held; // by TreeNameKey: the contexts now
        InitPropertyIteration();
        SetPropertyContext(PFSetupContextAll);
        while (GetNextProperty()) {
            const PropertyFields property = CurrentPropertyFields(*this);
            const std::string& name = property.name;
            // The tree holds the value as read, variables expanded.
            const std::string& value = property.value;
            const int type = property.type;
            held[TreeNameKey(name)] = type;
            const std::string visibility =
                FormatInt(STUtil::getVisibilityFromText(property.visibility, 0));

            if (type & PFSetupContextSymbol) {
                if (IsForbidden("PropertyFile/Symbol/NotAllowed", name)) {
                    ARObject::addAndShowMessage("pfg", "350", "symbol", name);
                } else if (ARTreeNode* list = Collection("PFG/Symbol", "SymPropertyList")) {
                    auto* node = new ARTSymProperty;
                    node->setName(name);
                    node->addParam(1, value);
                    node->addParam(2, visibility);
                    node->addParam(3, "0");
                    node->addParam(5, "0");
                    node->addParam(6, symbolHeight);
                    node->addParam(7, "Top-Left");
                    Replace(list, node);
                }
            }
            if (type & PFSetupContextSymbolPin) {
                if (ARTreeNode* list = Collection("PFG/Symbol", "SymPinPropertyList")) {
                    auto* node = new ARTSymProperty;
                    node->setName(name);
                    node->addParam(1, value);
                    node->addParam(2, visibility);
                    node->addParam(3, "0");
                    node->addParam(6, pinHeight);
                    Replace(list, node);
                }
            }
            if (type & PFSetupContextPackage) {
                if (IsForbidden("PropertyFile/Package/NotAllowed", name)) {
                    ARObject::addAndShowMessage("pfg", "350", "package", name);
                } else if (ARTreeNode* list = Collection("PFG/Package", "Property")) {
                    auto* node = new ARTNameValue(name);
                    node->addParam(1, value);
                    Replace(list, node);
                }
            }
            if (type & PFSetupContextPackagePin) {
                for (const char* pinType : kPackagePinTypes) {
                    if (ARTreeNode* list =
                            Find(std::string("PFG/PackagePin/Property/") + pinType)) {
                        auto* node = new ARTNameValue(name);
                        node->addParam(1, value);
                        Replace(list, node);
                    }
                }
            }
            const std::pair<int, const char*> tableKinds[] = {{PFSetupContextPtfGlobal, "1"},
                                                              {PFSetupContextPtfPackage, "0"},
                                                              {PFSetupContextPtfPhysical, "2"}};
            for (const auto& [bit, kind] : tableKinds) {
                if (!(type & bit))
                    continue;
                if (ARTreeNode* list = Collection("PFG/Ptf", "PtfProperty")) {
                    auto* node = new ARTPtfProperty;
                    node->setName(name);
                    node->addParam(1, value);
                    node->addParam(2, kind);
                    Replace(list, node);
                }
            }
        }
        // A property this store deleted since its read, or took out of a context, leaves the
        // lists of those contexts; every other node stays, whichever file or writer made it.
        for (const auto& [key, entry] : LastRead.entries) {
            if (ClassifySettingsKey(key) != SettingsKeyKind::Property)
                continue;
            const std::string name = key.substr(5);
            const auto now = held.find(TreeNameKey(name));
            const int type = now == held.end() ? 0 : now->second;
            const int before = ParseInt(SplitPropertyFields(entry)[0]);
            const int lost = before & ~type;
            if (lost & PFSetupContextSymbol)
                TakeOut("PFG/Symbol/SymPropertyList", name);
            if (lost & PFSetupContextSymbolPin)
                TakeOut("PFG/Symbol/SymPinPropertyList", name);
            if (lost & PFSetupContextPackage)
                TakeOut("PFG/Package/Property", name);
            if (lost & PFSetupContextPackagePin)
                for (const char* pinType : kPackagePinTypes)
                    TakeOut(std::string("PFG/PackagePin/Property/") + pinType, name);
            if ((before & kTableContexts) && !(type & kTableContexts))
                TakeOut("PFG/Ptf/PtfProperty", name);
        }
    }

    float grid = 0, note = 0;
    GetDefGridSize(grid);
    GetDefNoteSize(note);
    std::string outline;
    GetDefSymbolOutLine(outline);
    if (EqualsIgnoreCase(outline, "Bold"))
        outline = "Thick";
    int width = 0, length = 0, spacing = 0;
    GetDefSymbolWidth(width);
    GetDefSymbolLength(length);
    GetDefSymbolLengthIncrement(spacing);
    const double height = std::trunc(static_cast<double>(note) * 25.0);
    const bool representable = std::isfinite(height) && std::fabs(height) < 2147483648.0;
    SetLeaf("PFG/Symbol/GridSize", FormatFixed6(grid));
    SetLeaf("PFG/Symbol/Pintext/Height",
            FormatInt(representable ? static_cast<long long>(height) : 0));
    SetLeaf("PFG/Symbol/OutLine", outline);
    SetLeaf("PFG/Symbol/Width", FormatInt(width));
    SetLeaf("PFG/Symbol/Length", FormatInt(length));
    SetLeaf("PFG/Symbol/Pin/Shape/MinimumPinSpacing", FormatInt(spacing));
    SetLeaf("PFG/Symbol/Pintext/UsePinName", GetUsePinNamesForText() == 1 ? "1" : "0");
    return 1;
}
