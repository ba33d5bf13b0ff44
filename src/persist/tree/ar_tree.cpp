#include "persist/tree/ar_tree.h"

#include "base/ascii_text.h"
#include "base/module_state.h"
#include "host/host_services.h"
#include "setup/number_text.h"

#include <climits>
#include <iterator>

std::string pfsetup::TreeNameKey(const std::string& name) {
    std::string key = name;
    for (char& c : key) {
        c = AsciiUpper(c);
    }
    return key;
}

ARTreeNode::~ARTreeNode() {
    // A chain of any length is taken apart here, a node at a time, rather than each child's
    // destructor destroying its own children.
    Children pending = std::move(children_);
    while (!pending.empty()) {
        std::unique_ptr<ARTreeNode> node = std::move(pending.front());
        pending.pop_front();
        pending.splice(pending.end(), node->children_);
    }
}

void ARTreeNode::setName(const std::string& name) {
    if (parent_) {
        auto& mine = parent_->index_[pfsetup::TreeNameKey(name_)];
        for (auto it = mine.begin(); it != mine.end(); ++it) {
            if (it->operator*().get() == this) {
                const Children::iterator self = *it;
                mine.erase(it);
                if (mine.empty()) {
                    parent_->index_.erase(pfsetup::TreeNameKey(name_));
                }
                parent_->index_[pfsetup::TreeNameKey(name)].push_back(self);
                break;
            }
        }
    }
    name_ = name;
}

ARTreeNode* ARTreeNode::addChild(ARTreeNode* child, int /*mode*/, int index) {
    if (!child) {
        return nullptr;
    }
    std::unique_ptr<ARTreeNode> owned(child);
    auto position = children_.end();
    if (index >= 0 && static_cast<std::size_t>(index) < children_.size()) {
        position = std::next(children_.begin(), index);
    }
    const auto placed = children_.insert(position, std::move(owned));
    index_[pfsetup::TreeNameKey(child->name_)].push_back(placed);
    child->parent_ = this;
    return child;
}

ARTreeNode* ARTreeNode::getNamedChild(const std::string& name, ARTreeNode*& out, bool) {
    out = getNamedChild(name);
    return out;
}

ARTreeNode* ARTreeNode::getNamedChild(const std::string& name) const {
    const auto entry = index_.find(pfsetup::TreeNameKey(name));
    return entry == index_.end() ? nullptr : entry->second.front()->get();
}

bool ARTreeNode::deleteChild(ARTreeNode* child) {
    if (!child || child->parent_ != this) {
        return false;
    }
    const std::string key = pfsetup::TreeNameKey(child->name_);
    auto& named = index_[key];
    for (auto it = named.begin(); it != named.end(); ++it) {
        if (it->operator*().get() == child) {
            const Children::iterator doomed = *it;
            named.erase(it);
            if (named.empty()) {
                index_.erase(key);
            }
            children_.erase(doomed);
            return true;
        }
    }
    return false;
}

ARTreeNode::Children ARTreeNode::takeChildren() {
    for (auto& child : children_) {
        child->parent_ = nullptr;
    }
    index_.clear();
    return std::move(children_);
}

bool ARTreeNode::getParam(int number, std::string& text) const {
    auto it = params_.find(number);
    if (it == params_.end()) {
        return false;
    }
    text = it->second;
    return true;
}

std::unique_ptr<ARTreeNode> MakeTreeNode(const std::string& kind, const std::string& name) {
    if (kind == "node") {
        return std::make_unique<ARTreeNode>(name);
    }
    if (kind == "value") {
        return std::make_unique<ARTNameValue>(name);
    }
    if (kind == "symprop") {
        return std::make_unique<ARTSymProperty>(name);
    }
    if (kind == "ptfprop") {
        return std::make_unique<ARTPtfProperty>(name);
    }
    if (kind.empty()) {
        return nullptr;
    }
    return std::make_unique<ARTUnknownKind>(kind, name);
}

namespace {

struct RootRegistry {
    std::vector<std::unique_ptr<ARTreeNode>> roots;
    std::unordered_map<std::string, std::size_t> index; // name in upper case -> position
    std::string source;
};

RootRegistry& Registry() {
    static RootRegistry registry;
    return registry;
}

const pfsetup::ModuleStateReset g_reset(&ARObjFind::resetRoots);

} // namespace

bool ARObjFind::getObj(const std::string& path, ARTreeNode*& out, ARStatus& status) const {
    out = nullptr;
    size_t start = 0;
    size_t slash = path.find('/');
    ARTreeNode* node = root(path.substr(0, slash));
    while (node && slash != std::string::npos) {
        start = slash + 1;
        slash = path.find('/', start);
        node = node->getNamedChild(path.substr(start, slash - start));
    }
    if (!node) {
        status.fail("no node \"" + path + "\"");
        return false;
    }
    out = node;
    return true;
}

bool ARObjFind::getObjValueInt(const std::string& path, int& value, ARStatus& status) {
    ARTreeNode* node = nullptr;
    std::string text;
    if (!ARObjFind().getObj(path, node, status) || !node->getParam(1, text)) {
        return false;
    }
    // ParseInt saturates a number beyond int; such a value is none.
    std::size_t digits = text.find_first_not_of(" \t\n\r\f\v");
    if (digits != std::string::npos && (text[digits] == '+' || text[digits] == '-')) {
        ++digits;
    }
    const std::string number = text.substr(0, text.find_first_not_of("0123456789", digits));
    if (pfsetup::ParseDecimal(number) > INT_MAX || pfsetup::ParseDecimal(number) < INT_MIN) {
        return false;
    }
    value = pfsetup::ParseInt(text);
    return true;
}

void ARObjFind::registerRoot(std::unique_ptr<ARTreeNode> newRoot) {
    RootRegistry& registry = Registry();
    const std::string key = pfsetup::TreeNameKey(newRoot->name());
    const auto known = registry.index.find(key);
    if (known != registry.index.end()) {
        registry.roots[known->second] = std::move(newRoot);
        return;
    }
    registry.index.emplace(key, registry.roots.size());
    registry.roots.push_back(std::move(newRoot));
}

ARTreeNode* ARObjFind::root(const std::string& name) {
    const RootRegistry& registry = Registry();
    const auto known = registry.index.find(pfsetup::TreeNameKey(name));
    return known == registry.index.end() ? nullptr : registry.roots[known->second].get();
}

std::vector<ARTreeNode*> ARObjFind::roots() {
    std::vector<ARTreeNode*> result;
    for (auto& existing : Registry().roots) {
        result.push_back(existing.get());
    }
    return result;
}

const std::string& ARObjFind::rootsSource() {
    return Registry().source;
}

void ARObjFind::setRootsSource(const std::string& fileName) {
    Registry().source = fileName;
}

void ARObjFind::resetRoots() {
    Registry().roots.clear();
    Registry().index.clear();
    Registry().source.clear();
}

namespace {
struct CataloguedMessage {
    const char* domain;
    const char* number;
    const char* text;
};
constexpr CataloguedMessage kCatalogue[] = {
    {"pfg", "350",
     "The property %2 is not allowed on a %1. It was not saved as a default %1 property."},
};
} // namespace

std::string ARObject::formatMessage(const std::string& domain, const std::string& number,
                                    const std::string& arg1, const std::string& arg2) {
    for (const auto& entry : kCatalogue) {
        if (domain != entry.domain || number != entry.number) {
            continue;
        }
        std::string text;
        for (const char* p = entry.text; *p; ++p) {
            if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
                text += p[1] == '1' ? arg1 : arg2;
                ++p;
            } else {
                text += *p;
            }
        }
        return text;
    }
    return {};
}

void ARObject::addAndShowMessage(const std::string& domain, const std::string& number,
                                 const std::string& arg1, const std::string& arg2) {
    std::string text = formatMessage(domain, number, arg1, arg2);
    if (text.empty()) {
        text = "Message " + number + " of " + domain + " (" + arg1 + ", " + arg2 + ")";
    }
    pfsetup::Host().ShowMessage(text, pfsetup::MessageIcon::Exclamation,
                                pfsetup::MessageButtons::Ok);
}
