#pragma once
// The settings tree: named nodes with ordered children and numbered text parameters, the
// registered roots ("PFG", "PropertyFile") and the finder that looks nodes up by path.
//
// Names compare ignoring (ASCII) letter case, as the directive names that hold the nodes in a
// project file do. Nothing here recurses: a tree of any depth is built, walked and destroyed
// with loops; the files hold at most kTreeDepthLimit names in a path.

#include <cstddef>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class ARTreeNode;

namespace pfsetup {
// The most names a path of the settings tree may hold ("PFG/Symbol/Width" holds 3).
constexpr std::size_t kTreeDepthLimit = 64;
// A node name as the tree compares it: in upper case.
std::string TreeNameKey(const std::string& name);
} // namespace pfsetup

// Outcome of a tree operation. `reset` arms it with a mask of the conditions the caller cares
// about; `test` answers whether the operation may be taken as successful.
class ARStatus {
public:
    virtual ~ARStatus() = default;
    void reset(long mask) {
        mask_ = mask;
        failed_ = false;
        message_.clear();
    }
    void fail(std::string message) {
        failed_ = true;
        message_ = std::move(message);
    }
    virtual bool test(int /*severity*/) const { return !failed_; }
    const std::string& message() const { return message_; }
    long mask() const { return mask_; }

private:
    long mask_ = 0;
    bool failed_ = false;
    std::string message_;
};

class ARTreeVisitor {
public:
    virtual ~ARTreeVisitor() = default;
    virtual void visit(ARTreeNode& node) = 0;
};

class ARTreeNode {
public:
    using Children = std::list<std::unique_ptr<ARTreeNode>>;

    explicit ARTreeNode(std::string name = {}) : name_(std::move(name)) {}
    virtual ~ARTreeNode();
    ARTreeNode(const ARTreeNode&) = delete;
    ARTreeNode& operator=(const ARTreeNode&) = delete;

    // The kind written with the node: "node", "value", "symprop", "ptfprop", or the kind a
    // file gave a node this system does not know.
    virtual const char* kind() const { return "node"; }

    const std::string& name() const { return name_; }
    void setName(const std::string& name);

    // Takes ownership. `mode` 1 and `index` -1 append; another index inserts before it.
    ARTreeNode* addChild(ARTreeNode* child, int mode = 1, int index = -1);
    // The first child added of that name, also stored in `out`; null when absent.
    ARTreeNode* getNamedChild(const std::string& name, ARTreeNode*& out, bool recurse = false);
    ARTreeNode* getNamedChild(const std::string& name) const;
    // Removes and disposes of the child; false when it is not a child of this node.
    bool deleteChild(ARTreeNode* child);
    const Children& children() const { return children_; }
    // Hands the children over (a node replaced by one of another kind keeps its subtree).
    Children takeChildren();

    void addParam(int number, const std::string& text) { params_[number] = text; }
    // False (and `text` untouched) when the parameter is not set.
    bool getParam(int number, std::string& text) const;
    const std::map<int, std::string>& params() const { return params_; }

    void accept(ARTreeVisitor& visitor) { visitor.visit(*this); }

private:
    std::string name_;
    ARTreeNode* parent_ = nullptr;
    Children children_;
    // Child name in upper case -> the children of that name, in the order they were added.
    std::unordered_map<std::string, std::vector<Children::iterator>> index_;
    std::map<int, std::string> params_;
};

class ARTNameValue : public ARTreeNode {
public:
    using ARTreeNode::ARTreeNode;
    const char* kind() const override { return "value"; }
};

class ARTSymProperty : public ARTreeNode {
public:
    using ARTreeNode::ARTreeNode;
    const char* kind() const override { return "symprop"; }
};

class ARTPtfProperty : public ARTreeNode {
public:
    using ARTreeNode::ARTreeNode;
    const char* kind() const override { return "ptfprop"; }
};

// A node of a kind this system does not know, kept as read so that a write gives it back.
class ARTUnknownKind : public ARTreeNode {
public:
    ARTUnknownKind(std::string kind, std::string name)
        : ARTreeNode(std::move(name)), kind_(std::move(kind)) {}
    const char* kind() const override { return kind_.c_str(); }

private:
    std::string kind_;
};

// Makes a node of the given kind (an unknown one included); null for an empty kind.
std::unique_ptr<ARTreeNode> MakeTreeNode(const std::string& kind, const std::string& name);

namespace pfsetup {

// Calls `visit(node, depth)` for `root` (depth 1) and every node below it, a parent before its
// children and children in order.
template <class Visit>
void ForEachTreeNode(ARTreeNode& root, Visit&& visit) {
    std::vector<std::pair<ARTreeNode*, std::size_t>> pending{{&root, 1}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        visit(*node, depth);
        const auto& children = node->children();
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            pending.emplace_back(child->get(), depth + 1);
        }
    }
}

} // namespace pfsetup

// Looks nodes up by "/"-separated path over the registered roots.
class ARObjFind {
public:
    ARObjFind() = default;
    // True and `out` set when the path names a node; otherwise `out` is null.
    bool getObj(const std::string& path, ARTreeNode*& out, ARStatus& status) const;
    // Parameter 1 of the node read as a decimal integer; false when there is none or it does
    // not fit an int.
    static bool getObjValueInt(const std::string& path, int& value, ARStatus& status);

    // The module-wide roots. Registering a root replaces one of the same name.
    static void registerRoot(std::unique_ptr<ARTreeNode> root);
    // The project file the registered roots were parsed from (empty when none).
    static const std::string& rootsSource();
    static void setRootsSource(const std::string& fileName);
    static ARTreeNode* root(const std::string& name);
    static std::vector<ARTreeNode*> roots();
    // Forgets every registered root (hosts switching projects, tests).
    static void resetRoots();
};

// Catalogued messages, shown through the host services.
class ARObject {
public:
    // Formats message `number` of `domain` with the two arguments (%1, %2) and shows it.
    static void addAndShowMessage(const std::string& domain, const std::string& number,
                                  const std::string& arg1, const std::string& arg2);
    // The formatted text, or empty for a message the catalogue does not hold.
    static std::string formatMessage(const std::string& domain, const std::string& number,
                                     const std::string& arg1, const std::string& arg2);
};
