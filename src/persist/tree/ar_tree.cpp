#include "persist/tree/ar_tree.h"

#include "host/host_services.h"
#include "setup/number_text.h"

ARTreeNode* ARTreeNode::addChild(ARTreeNode* child, int /*mode*/, int index) {
    if (!child)
        return nullptr;
    std::unique_ptr<ARTreeNode> owned(child);
    if (index < 0 || static_cast<size_t>(index) >= children_.size())
        children_.push_back(std::move(owned));
    else
        children_.insert(children_.begin() + index, std::move(owned));
    return child;
}

ARTreeNode* ARTreeNode::getNamedChild(const std::string& name, ARTreeNode*& out, bool) {
    out = getNamedChild(name);
    return out;
}

ARTreeNode* ARTreeNode::getNamedChild(const std::string& name) const {
    for (const auto& child : children_)
        if (child->name() == name)
            return child.get();
    return nullptr;
}

bool ARTreeNode::deleteChild(ARTreeNode* child) {
    for (auto it = children_.begin(); it != children_.end(); ++it) {
        if (it->get() == child) {
            children_.erase(it);
            return true;
        }
    }
    return false;
}

bool ARTreeNode::getParam(int number, std::string& text) const {
    auto it = params_.find(number);
    if (it == params_.end())
        return false;
    text = it->second;
    return true;
}

std::unique_ptr<ARTreeNode> MakeTreeNode(const std::string& kind, const std::string& name) {
    if (kind == "node")
        return std::make_unique<ARTreeNode>(name);
    if (kind == "value")
        return std::make_unique<ARTNameValue>(name);
    if (kind == "symprop")
        return std::make_unique<ARTSymProperty>(name);
    if (kind == "ptfprop")
        return std::make_unique<ARTPtfProperty>(name);
    return nullptr;
}

namespace {
std::vector<std::unique_ptr<ARTreeNode>>& Roots() {
    static std::vector<std::unique_ptr<ARTreeNode>> roots;
    return roots;
}
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
    if (!ARObjFind().getObj(path, node, status) || !node->getParam(1, text))
        return false;
    value = pfsetup::ParseInt(text); // atoi's rule, saturating instead of wrapping
    return true;
}

void ARObjFind::registerRoot(std::unique_ptr<ARTreeNode> newRoot) {
    auto& roots = Roots();
    for (auto& existing : roots) {
        if (existing->name() == newRoot->name()) {
            existing = std::move(newRoot);
            return;
        }
    }
    roots.push_back(std::move(newRoot));
}

ARTreeNode* ARObjFind::root(const std::string& name) {
    for (auto& existing : Roots())
        if (existing->name() == name)
            return existing.get();
    return nullptr;
}

std::vector<ARTreeNode*> ARObjFind::roots() {
    std::vector<ARTreeNode*> result;
    for (auto& existing : Roots())
        result.push_back(existing.get());
    return result;
}

namespace {
std::string& RootsSource() {
    static std::string source;
    return source;
}
} // namespace

const std::string& ARObjFind::rootsSource() {
    return RootsSource();
}

void ARObjFind::setRootsSource(const std::string& fileName) {
    RootsSource() = fileName;
}

void ARObjFind::resetRoots() {
    Roots().clear();
    RootsSource().clear();
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
        if (domain != entry.domain || number != entry.number)
            continue;
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
    if (text.empty())
        text = "Message " + number + " of " + domain + " (" + arg1 + ", " + arg2 + ")";
    pfsetup::Host().ShowMessage(text, pfsetup::MessageIcon::Exclamation,
                                pfsetup::MessageButtons::Ok);
}
