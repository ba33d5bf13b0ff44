#pragma once
// The settings tree: named nodes with ordered children and numbered text parameters, the
// registered roots ("PFG", "PropertyFile") and the finder that looks nodes up by path.

#include <map>
#include <memory>
#include <string>
#include <vector>

class ARTreeNode;

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
    explicit ARTreeNode(std::string name = {}) : name_(std::move(name)) {}
    virtual ~ARTreeNode() = default;
    ARTreeNode(const ARTreeNode&) = delete;
    ARTreeNode& operator=(const ARTreeNode&) = delete;

    // The kind written with the node: "node", "value", "symprop" or "ptfprop".
    virtual const char* kind() const { return "node"; }

    const std::string& name() const { return name_; }
    void setName(const std::string& name) { name_ = name; }

    // Takes ownership. `mode` 1 and `index` -1 append; another index inserts before it.
    ARTreeNode* addChild(ARTreeNode* child, int mode = 1, int index = -1);
    // The first child of that name (exact), also stored in `out`; null when absent.
    ARTreeNode* getNamedChild(const std::string& name, ARTreeNode*& out, bool recurse = false);
    ARTreeNode* getNamedChild(const std::string& name) const;
    // Removes and disposes of the child; false when it is not a child of this node.
    bool deleteChild(ARTreeNode* child);
    const std::vector<std::unique_ptr<ARTreeNode>>& children() const { return children_; }
    // Hands the children over (a node replaced by one of another kind keeps its subtree).
    std::vector<std::unique_ptr<ARTreeNode>> takeChildren() { return std::move(children_); }

    void addParam(int number, const std::string& text) { params_[number] = text; }
    // False (and `text` untouched) when the parameter is not set.
    bool getParam(int number, std::string& text) const;
    const std::map<int, std::string>& params() const { return params_; }

    void accept(ARTreeVisitor& visitor) { visitor.visit(*this); }

private:
    std::string name_;
    std::vector<std::unique_ptr<ARTreeNode>> children_;
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

// Makes a node of the given kind; null for an unknown kind.
std::unique_ptr<ARTreeNode> MakeTreeNode(const std::string& kind, const std::string& name);

// Looks nodes up by "/"-separated path over the registered roots.
class ARObjFind {
public:
    ARObjFind() = default;
    // True and `out` set when the path names a node; otherwise `out` is null.
    bool getObj(const std::string& path, ARTreeNode*& out, ARStatus& status) const;
    // Parameter 1 of the node read as a decimal integer.
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
