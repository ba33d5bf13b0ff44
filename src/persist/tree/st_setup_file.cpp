#include "persist/tree/st_setup_file.h"

#include "projfile/spi_project.h"
#include "setup/ascii_text.h"
#include "setup/number_text.h"

namespace pfsetup {

namespace {

// Finds or makes the child; a node of another kind is replaced, keeping its children.
ARTreeNode* PlaceNode(ARTreeNode& parent, const std::string& name, const std::string& kind) {
    ARTreeNode* existing = parent.getNamedChild(name);
    if (existing && kind.empty())
        return existing;
    std::unique_ptr<ARTreeNode> made = MakeTreeNode(kind.empty() ? "node" : kind, name);
    if (!made)
        return existing;
    if (existing) {
        if (std::string(existing->kind()) == made->kind())
            return existing;
        for (auto& child : existing->takeChildren())
            made->addChild(child.release(), 1, -1);
        for (const auto& param : existing->params())
            made->addParam(param.first, param.second);
        parent.deleteChild(existing);
    }
    return parent.addChild(made.release(), 1, -1);
}

void WriteNode(SpiProject& project, const ARTreeNode& node, const std::string& path) {
    if (node.name().find('/') != std::string::npos)
        return; // such a name would read back as a deeper path
    project.AddDirective(path);
    project.AddValue(node.kind());
    for (const auto& param : node.params())
        project.AddValue(FormatInt(param.first) + "=" + param.second);
    for (const auto& child : node.children())
        WriteNode(project, *child, path + "/" + child->name());
}

} // namespace

std::vector<std::unique_ptr<ARTreeNode>> BuildTreeRoots(const SpiProject& project) {
    std::vector<std::unique_ptr<ARTreeNode>> roots;
    const SpiProgram* section = project.Programs().Lookup(kTreeSection);
    if (!section)
        return roots;
    for (const auto& directive : section->directives) {
        const SpiValueList values = directive->ActiveValues();
        // A node without a kind was taken out at a later level.
        if (values.empty() || directive->name.empty())
            continue;
        const std::string path(directive->name);
        const std::string kind(*values.begin());
        size_t start = 0;
        size_t slash = path.find('/');
        const std::string rootName = path.substr(0, slash);
        ARTreeNode* node = nullptr;
        for (auto& root : roots)
            if (root->name() == rootName)
                node = root.get();
        if (!node) {
            roots.push_back(std::make_unique<ARTreeNode>(rootName));
            node = roots.back().get();
        }
        while (node && slash != std::string::npos) {
            start = slash + 1;
            slash = path.find('/', start);
            const bool last = slash == std::string::npos;
            node = PlaceNode(*node, path.substr(start, slash - start), last ? kind : "");
        }
        if (!node)
            continue;
        for (auto value = std::next(values.begin()); value != values.end(); ++value) {
            const std::string param(*value);
            const size_t equals = param.find('=');
            if (equals == std::string::npos || equals == 0)
                continue;
            bool digits = true;
            for (size_t k = 0; k < equals; ++k)
                digits = digits && param[k] >= '0' && param[k] <= '9';
            if (digits && equals < 10)
                node->addParam(ParseInt(param.substr(0, equals)), param.substr(equals + 1));
        }
    }
    return roots;
}

void PutTreeIntoProject(SpiProject& project, const std::vector<ARTreeNode*>& roots) {
    if (project.FindProgram(kTreeSection) == 0)
        project.DeleteProgram(kTreeSection);
    project.AddProgram(kTreeSection);
    for (const ARTreeNode* root : roots)
        WriteNode(project, *root, root->name());
}

} // namespace pfsetup

using namespace pfsetup;

STSetupFile::STSetupFile(std::string fileName, bool) : fileName_(std::move(fileName)) {}

ARStatus& STSetupFile::parse(ARStatus& status) {
    SpiProject project;
    if (project.Open(fileName_) != 0) {
        status.fail(SpiLastMessage());
        return status;
    }
    for (auto& root : BuildTreeRoots(project))
        ARObjFind::registerRoot(std::move(root));
    ARObjFind::setRootsSource(fileName_);
    return status;
}

STSetupWriter::STSetupWriter(std::string fileName, ARStatus& status)
    : fileName_(std::move(fileName)), status_(status) {}

void STSetupWriter::visit(ARTreeNode&) {
    SpiProject project;
    if (project.Open(fileName_) != 0) {
        status_.fail(SpiLastMessage());
        return;
    }
    PutTreeIntoProject(project, ARObjFind::roots());
    if (editor_)
        editor_(project);
    if (project.Save(fileName_, 0) != 0)
        status_.fail(SpiLastMessage());
}

int STUtil::getVisibilityFromText(const std::string& text, int) {
    if (EqualsIgnoringAsciiCase(text, "Name"))
        return 1;
    if (EqualsIgnoringAsciiCase(text, "Value"))
        return 2;
    if (EqualsIgnoringAsciiCase(text, "Both"))
        return 3;
    return 0;
}
