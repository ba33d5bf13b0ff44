#include "persist/tree/st_setup_file.h"

#include "base/ascii_text.h"
#include "projfile/spi_project.h"
#include "setup/number_text.h"
#include "setup/setting_tables.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

namespace pfsetup {

namespace {

// Finds or makes the child; a node of another kind is replaced, keeping its children.
ARTreeNode* PlaceNode(ARTreeNode& parent, const std::string& name, const std::string& kind) {
    ARTreeNode* existing = parent.getNamedChild(name);
    if (existing && kind.empty())
        return existing;
    std::unique_ptr<ARTreeNode> made = MakeTreeNode(kind.empty() ? "node" : kind, name);
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

using RootsByName = std::unordered_map<std::string, ARTreeNode*>; // by TreeNameKey

// Whether the roots hold a node at `path`.
bool HoldsPath(const RootsByName& roots, const std::string& path) {
    std::size_t slash = path.find('/');
    const auto root = roots.find(TreeNameKey(path.substr(0, slash)));
    ARTreeNode* node = root == roots.end() ? nullptr : root->second;
    while (node && slash != std::string::npos) {
        const std::size_t start = slash + 1;
        slash = path.find('/', start);
        node = node->getNamedChild(path.substr(start, slash - start));
    }
    return node != nullptr;
}

std::string DepthProblem(std::size_t depth) {
    return FormatInt(static_cast<long long>(depth)) +
           " names deep; the settings tree holds at most " +
           FormatInt(static_cast<long long>(kTreeDepthLimit));
}

} // namespace

std::vector<std::unique_ptr<ARTreeNode>> BuildTreeRoots(const SpiProject& project,
                                                        std::string& problem) {
    std::vector<std::unique_ptr<ARTreeNode>> roots;
    RootsByName rootsByName;
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
        // Kinds are words, handed on as C strings: one holding a NUL byte is none.
        if (kind.find('\0') != std::string::npos)
            continue;
        const std::size_t depth =
            static_cast<std::size_t>(std::count(path.begin(), path.end(), '/')) + 1;
        if (depth > kTreeDepthLimit) {
            const SpiOrigin origin = project.Programs().Origin(*directive, directive->level);
            problem = origin.File() + ":" + FormatInt(origin.line) + ": a settings tree path " +
                      DepthProblem(depth);
            SetLastError(Failure(ErrorKind::Syntax, origin.File(),
                                 "a settings tree path " + DepthProblem(depth), origin.line));
            roots.clear();
            return roots;
        }
        size_t start = 0;
        size_t slash = path.find('/');
        const std::string rootName = path.substr(0, slash);
        ARTreeNode*& node = rootsByName[TreeNameKey(rootName)];
        if (!node) {
            roots.push_back(std::make_unique<ARTreeNode>(rootName));
            node = roots.back().get();
        }
        ARTreeNode* current = node;
        while (slash != std::string::npos) {
            start = slash + 1;
            slash = path.find('/', start);
            const bool last = slash == std::string::npos;
            current = PlaceNode(*current, path.substr(start, slash - start), last ? kind : "");
        }
        for (auto value = std::next(values.begin()); value != values.end(); ++value) {
            const std::string param(*value);
            const size_t equals = param.find('=');
            if (equals == std::string::npos || equals == 0)
                continue;
            bool digits = true;
            for (size_t k = 0; k < equals; ++k)
                digits = digits && param[k] >= '0' && param[k] <= '9';
            if (digits && equals < 10)
                current->addParam(ParseInt(param.substr(0, equals)), param.substr(equals + 1));
        }
    }
    return roots;
}

bool PutTreeIntoProject(SpiProject& project, const std::vector<ARTreeNode*>& roots,
                        std::string& problem) {
    for (ARTreeNode* root : roots) {
        std::size_t deepest = 0;
        ForEachTreeNode(*root, [&deepest](ARTreeNode&, std::size_t depth) {
            deepest = std::max(deepest, depth);
        });
        if (deepest > kTreeDepthLimit) {
            problem = "a settings tree node " + root->name() + "/... lies " + DepthProblem(deepest);
            return false;
        }
    }
    if (project.FindProgram(kTreeSection) == 0)
        project.DeleteProgram(kTreeSection);
    project.AddProgram(kTreeSection);
    std::string path;
    std::vector<std::size_t> pathEnds; // the length of the path at each depth
    for (ARTreeNode* root : roots) {
        std::size_t skipBelow = 0;
        ForEachTreeNode(*root, [&](ARTreeNode& node, std::size_t depth) {
            if (skipBelow != 0 && depth > skipBelow)
                return;
            skipBelow = 0;
            if (node.name().find('/') != std::string::npos) {
                skipBelow = depth; // such a name would read back as a deeper path
                return;
            }
            path.resize(depth == 1 ? 0 : pathEnds[depth - 2]);
            if (depth > 1)
                path += '/';
            path += node.name();
            pathEnds.resize(depth);
            pathEnds[depth - 1] = path.size();
            if (path.empty())
                return; // a root without a name: no directive can name it, its children do
            project.AddDirective(path);
            project.AddValue(node.kind());
            for (const auto& param : node.params())
                project.AddValue(FormatInt(param.first) + "=" + param.second);
        });
    }
    // An installed node the tree no longer has is taken out again by a path without values.
    SpiProject installed;
    if (installed.ReadInstallAndSiteFiles() != 0) {
        problem = SpiLastMessage();
        return false;
    }
    const SpiProgram* installedTree = installed.Programs().Lookup(kTreeSection);
    if (!installedTree)
        return true;
    RootsByName rootsByName;
    for (ARTreeNode* root : roots)
        rootsByName.emplace(TreeNameKey(root->name()), root);
    for (const auto& directive : installedTree->directives) {
        const std::string gone(directive->name);
        if (!gone.empty() && !HoldsPath(rootsByName, gone) && project.FindDirective(gone) != 0)
            project.AddDirective(gone);
    }
    return true;
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
    return parse(status, project);
}

ARStatus& STSetupFile::parse(ARStatus& status, const SpiProject& project) {
    std::string problem;
    std::vector<std::unique_ptr<ARTreeNode>> roots = BuildTreeRoots(project, problem);
    if (!problem.empty()) {
        status.fail(problem);
        return status;
    }
    for (auto& root : roots)
        ARObjFind::registerRoot(std::move(root));
    ARObjFind::setRootsSource(fileName_);
    return status;
}

STSetupWriter::STSetupWriter(std::string fileName, ARStatus& status)
    : fileName_(std::move(fileName)), status_(status) {}

void STSetupWriter::visit(ARTreeNode&) {
    SpiProject opened;
    if (!project_ && opened.Open(fileName_) != 0) {
        status_.fail(SpiLastMessage());
        return;
    }
    SpiProject& project = project_ ? *project_ : opened;
    std::string problem;
    if (!PutTreeIntoProject(project, ARObjFind::roots(), problem)) {
        status_.fail(problem);
        if (!LastError().Failed())
            SetLastError(Failure(ErrorKind::Value, fileName_, problem));
        return;
    }
    if (editor_)
        editor_(project);
    if (project.Save(fileName_, 0) != 0)
        status_.fail(SpiLastMessage());
}

int STUtil::getVisibilityFromText(const std::string& text, int) {
    return VisibilityTreeCode(text);
}
