// The settings as the tree under "PFG": pin-type loads, default properties by context and
// the symbol settings.

#include "base/ascii_text.h"
#include "persist/settings_entries.h"
#include "persist/tree/ar_tree.h"
#include "persist/tree/st_setup_file.h"
#include "setup/number_text.h"
#include "setup/record_fields.h"
#include "setup/setting_tables.h"
#include "setup/setup_store.h"

#include <unordered_map>
#include <vector>

using namespace pfsetup;

namespace {

// The package-pin type nodes in the tree's order: the pin types that have one, then the
// unspecified type.
const std::vector<std::string>& PackagePinNodes() {
    static const std::vector<std::string> nodes = [] {
        std::vector<std::string> byPlace(kUnspecifiedPackagePinNode);
        for (const PinTypeRow& type : kPinTypes) {
            if (type.packagePinNode) {
                byPlace[type.packagePinNode - 1] = PinTypeNodeName(type.name);
            }
        }
        byPlace[kUnspecifiedPackagePinNode - 1] = kUnspecifiedPinType;
        std::vector<std::string> paths;
        for (const std::string& name : byPlace) {
            paths.push_back("PFG/PackagePin/Property/" + name);
        }
        return paths;
    }();
    return nodes;
}

ARTreeNode* Find(const std::string& path) {
    ARStatus status;
    ARTreeNode* node = nullptr;
    ARObjFind().getObj(path, node, status);
    return node;
}

// The node of a path the writer expects, made (plain nodes, a value node for a leaf) when the
// parsed tree lacks it.
ARTreeNode* Expect(const std::string& path, bool leaf) {
    if (ARTreeNode* node = Find(path)) {
        return node;
    }
    const size_t slash = path.rfind('/');
    ARTreeNode* parent =
        slash == std::string::npos ? nullptr : Expect(path.substr(0, slash), false);
    if (!parent) {
        return nullptr;
    }
    const std::string name = path.substr(slash + 1);
    return parent->addChild(leaf ? new ARTNameValue(name) : new ARTreeNode(name), 1, -1);
}

// The collection node under `parent`, made when missing.
ARTreeNode* Collection(const std::string& parentPath, const std::string& name) {
    ARTreeNode* parent = Expect(parentPath, false);
    if (!parent) {
        return nullptr;
    }
    ARTreeNode* list = nullptr;
    if (!parent->getNamedChild(name, list, false)) {
        list = parent->addChild(new ARTreeNode(name), 1, -1);
    }
    return list;
}

bool IsForbidden(const std::string& listPath, const std::string& name) {
    ARTreeNode* list = Find(listPath);
    return list && list->getNamedChild(name);
}

// Appends `node` under `list`, replacing a child of the same name.
void Replace(ARTreeNode* list, ARTreeNode* node) {
    ARTreeNode* old = nullptr;
    if (list->getNamedChild(node->name(), old, false)) {
        list->deleteChild(old);
    }
    list->addChild(node, 1, -1);
}

// Takes the child `name` out of the list at `path`, if both are there.
void TakeOut(const std::string& path, const std::string& name) {
    if (ARTreeNode* list = Find(path)) {
        if (ARTreeNode* child = list->getNamedChild(name)) {
            list->deleteChild(child);
        }
    }
}

int HeightOf(const std::string& path) {
    ARStatus status;
    int height = 0;
    ARObjFind::getObjValueInt(path, height, status);
    return height;
}

void SetLeaf(const std::string& path, const std::string& value) {
    if (ARTreeNode* leaf = Expect(path, true)) {
        leaf->addParam(1, value);
    }
}

} // namespace

int CPFCoreSetupAPI::PutEntryInProjectInNewFormat() {
    const char* const pinTypePath =
        FindSettingKey(std::string("PinType_") + kPinTypes[0].name)->treeNode;
    Expect(pinTypePath, false);
    InitPinIteration();
    if (SaveSections & kSavePinTypes) {
        ARTreeNode* pinTypes = Find(pinTypePath);
        while (GetNextPin()) {
            const PinTypeFields pin = CurrentPinTypeFields(*this);
            if (ARTreeNode* node =
                    pinTypes ? pinTypes->getNamedChild(PinTypeNodeName(pin.type)) : nullptr) {
                node->addParam(1, PinTypeValue(pin));
            }
        }
    }

    // The package-pin type nodes are not made: a file may take one out.
    for (const char* path : {"PFG/Symbol", "PFG/Package", "PFG/Ptf"}) {
        Expect(path, false);
    }
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
                for (const std::string& path : PackagePinNodes()) {
                    if (ARTreeNode* list = Find(path)) {
                        auto* node = new ARTNameValue(name);
                        node->addParam(1, value);
                        Replace(list, node);
                    }
                }
            }
            for (const PropertyContextRow& context : kPropertyContexts) {
                if (!context.tableKind || !(type & context.bit)) {
                    continue;
                }
                if (ARTreeNode* list = Collection("PFG/Ptf", "PtfProperty")) {
                    auto* node = new ARTPtfProperty;
                    node->setName(name);
                    node->addParam(1, value);
                    node->addParam(2, context.tableKind);
                    Replace(list, node);
                }
            }
        }
        // A property this store deleted since its read, or took out of a context, leaves the
        // lists of those contexts; every other node stays, whichever file or writer made it.
        int tableContexts = 0;
        for (const PropertyContextRow& context : kPropertyContexts) {
            if (context.tableKind) {
                tableContexts |= context.bit;
            }
        }
        for (const auto& [key, entry] : LastRead.entries) {
            if (ClassifySettingsKey(key) != SettingsKeyKind::Property) {
                continue;
            }
            const std::string name = key.substr(5);
            const auto now = held.find(TreeNameKey(name));
            const int type = now == held.end() ? 0 : now->second;
            const int before = ParseInt(SplitPropertyFields(entry)[0]);
            const int lost = before & ~type;
            if (lost & PFSetupContextSymbol) {
                TakeOut("PFG/Symbol/SymPropertyList", name);
            }
            if (lost & PFSetupContextSymbolPin) {
                TakeOut("PFG/Symbol/SymPinPropertyList", name);
            }
            if (lost & PFSetupContextPackage) {
                TakeOut("PFG/Package/Property", name);
            }
            if (lost & PFSetupContextPackagePin) {
                for (const std::string& path : PackagePinNodes()) {
                    TakeOut(path, name);
                }
            }
            if ((before & tableContexts) && !(type & tableContexts)) {
                TakeOut("PFG/Ptf/PtfProperty", name);
            }
        }
    }

    for (const SettingKey& row : SettingKeys()) {
        if (row.treeNode && !row.family) {
            SetLeaf(row.treeNode, TreeLeafValue(row, *this));
        }
    }
    return 1;
}

std::string pfsetup::PinTypeNodeName(const std::string& pinType) {
    std::string name;
    for (char c : pinType) {
        if (c != '_') {
            name += c;
        }
    }
    return name;
}

std::string pfsetup::TreeLeafValue(const SettingKey& row, CPFCoreSetupAPI& store) {
    std::string value;
    if (row.treeValue) {
        value = row.treeValue(store);
    } else {
        row.write(store, row.key, value);
    }
    return value;
}
