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

#include <unordered_set>
#include <vector>

using namespace pfsetup;

namespace {

// A pin type's name in the tree: without its underscores.
std::string NodeName(const std::string& pinType) {
    std::string name;
    for (char c : pinType)
        if (c != '_')
            name += c;
    return name;
}

// The package-pin type nodes in the tree's order: the pin types that have one, then the
// unspecified type.
const std::vector<std::string>& PackagePinNodes() {
    static const std::vector<std::string> nodes = [] {
        std::vector<std::string> byPlace(kUnspecifiedPackagePinNode);
        for (const PinTypeRow& type : kPinTypes)
            if (type.packagePinNode)
                byPlace[type.packagePinNode - 1] = NodeName(type.name);
        byPlace[kUnspecifiedPackagePinNode - 1] = kUnspecifiedPinType;
        std::vector<std::string> paths;
        for (const std::string& name : byPlace)
            paths.push_back("PFG/PackagePin/Property/" + name);
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

// Appends `node` under `list`, replacing a child of the same name, and counts it among the
// nodes the store's properties have now.
void Replace(ARTreeNode* list, ARTreeNode* node, std::unordered_set<const ARTreeNode*>& placed) {
    ARTreeNode* old = nullptr;
    if (list->getNamedChild(node->name(), old, false))
        list->deleteChild(old);
    list->addChild(node, 1, -1);
    placed.insert(node);
}

// Takes out the children of a property list that no property of the store has placed: a
// property deleted, or one no longer in that context, must not stay in the tree.
void Prune(ARTreeNode* list, const std::unordered_set<const ARTreeNode*>& placed) {
    if (!list)
        return;
    std::vector<ARTreeNode*> stale;
    for (const auto& child : list->children())
        if (!placed.count(child.get()))
            stale.push_back(child.get());
    for (ARTreeNode* child : stale)
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
    const char* const pinTypePath =
        FindSettingKey(std::string("PinType_") + kPinTypes[0].name)->treeNode;
    Expect(pinTypePath, false);
    InitPinIteration();
    if (SaveSections & kSavePinTypes) {
        ARTreeNode* pinTypes = Find(pinTypePath);
        while (GetNextPin()) {
            const PinTypeFields pin = CurrentPinTypeFields(*this);
            if (ARTreeNode* node = pinTypes ? pinTypes->getNamedChild(NodeName(pin.type)) : nullptr)
                node->addParam(1, PinTypeValue(pin));
        }
    }

    for (const char* path : {"PFG/Symbol", "PFG/Package", "PFG/Ptf"})
        Expect(path, false);
    for (const std::string& path : PackagePinNodes())
        Expect(path, false);
    const std::string symbolHeight = FormatInt(HeightOf("PFG/Symbol/SymProperty/DefaultHeight"));
    const std::string pinHeight = FormatInt(HeightOf("PFG/Symbol/PinProperty/DefaultHeight"));

    if (SaveSections & kSaveProperties) {
        std::unordered_set<const ARTreeNode*> placed;
        InitPropertyIteration();
        SetPropertyContext(PFSetupContextAll);
        while (GetNextProperty()) {
            const PropertyFields property = CurrentPropertyFields(*this);
            const std::string& name = property.name;
            const std::string value = StoredPropertyValue(name, property.value);
            const int type = property.type;
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
                    Replace(list, node, placed);
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
                    Replace(list, node, placed);
                }
            }
            if (type & PFSetupContextPackage) {
                if (IsForbidden("PropertyFile/Package/NotAllowed", name)) {
                    ARObject::addAndShowMessage("pfg", "350", "package", name);
                } else if (ARTreeNode* list = Collection("PFG/Package", "Property")) {
                    auto* node = new ARTNameValue(name);
                    node->addParam(1, value);
                    Replace(list, node, placed);
                }
            }
            if (type & PFSetupContextPackagePin) {
                for (const std::string& path : PackagePinNodes()) {
                    if (ARTreeNode* list = Find(path)) {
                        auto* node = new ARTNameValue(name);
                        node->addParam(1, value);
                        Replace(list, node, placed);
                    }
                }
            }
            for (const PropertyContextRow& context : kPropertyContexts) {
                if (!context.tableKind || !(type & context.bit))
                    continue;
                if (ARTreeNode* list = Collection("PFG/Ptf", "PtfProperty")) {
                    auto* node = new ARTPtfProperty;
                    node->setName(name);
                    node->addParam(1, value);
                    node->addParam(2, context.tableKind);
                    Replace(list, node, placed);
                }
            }
        }
        Prune(Find("PFG/Symbol/SymPropertyList"), placed);
        Prune(Find("PFG/Symbol/SymPinPropertyList"), placed);
        Prune(Find("PFG/Package/Property"), placed);
        for (const std::string& path : PackagePinNodes())
            Prune(Find(path), placed);
        Prune(Find("PFG/Ptf/PtfProperty"), placed);
    }

    for (const SettingKey& row : SettingKeys()) {
        if (!row.treeNode || row.family)
            continue;
        std::string value;
        if (row.treeValue)
            value = row.treeValue(*this);
        else
            row.write(*this, row.key, value);
        SetLeaf(row.treeNode, value);
    }
    return 1;
}
