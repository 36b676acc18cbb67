// Parent links by name, and the order that puts every parent before its
// children.

#include <limits>
#include <optional>
#include <unordered_map>

#include "base/log.h"
#include "scene/scene.h"
#include "scene/scene_reader.h"

namespace {

constexpr int unknownDepth = -1;
constexpr int onCurrentPath = -2;
constexpr int endlessDepth = -3;  // the parent chain runs into a loop

std::vector<SceneObject*> listOf(SceneObject* first) {
    std::vector<SceneObject*> objects;
    for (SceneObject* object = first; object != nullptr; object = object->next) objects.push_back(object);
    return objects;
}

std::vector<std::optional<size_t>> parentIndices(const std::vector<SceneObject*>& objects) {
    std::unordered_map<const SceneObject*, size_t> indexOf;
    for (size_t i = 0; i < objects.size(); ++i) indexOf.emplace(objects[i], i);
    std::vector<std::optional<size_t>> parents(objects.size());
    for (size_t i = 0; i < objects.size(); ++i) {
        auto found = indexOf.find(objects[i]->parent);
        if (found != indexOf.end()) parents[i] = found->second;
    }
    return parents;
}

// Number of parent steps up to a root, for every object; each chain is walked
// once, so a long chain costs no more than its length.
std::vector<int> depthsOf(const std::vector<SceneObject*>& objects) {
    const std::vector<std::optional<size_t>> parents = parentIndices(objects);
    std::vector<int> depth(objects.size(), unknownDepth);
    std::vector<size_t> path;
    for (size_t start = 0; start < objects.size(); ++start) {
        path.clear();
        int above = -1;  // depth of whatever the path ends under; -1 above a root
        for (size_t j = start;;) {
            if (depth[j] >= 0 || depth[j] == endlessDepth) {
                above = depth[j];
                break;
            }
            if (depth[j] == onCurrentPath) {
                above = endlessDepth;
                break;
            }
            depth[j] = onCurrentPath;
            path.push_back(j);
            if (!parents[j]) break;
            j = *parents[j];
        }
        for (auto it = path.rbegin(); it != path.rend(); ++it)
            depth[*it] = above == endlessDepth ? endlessDepth : ++above;
    }
    return depth;
}

// The place of the last entry of least depth among the entries not placed
// yet, found in logarithmic time so that large scenes sort quickly.
class LeastDepthTree {
public:
    explicit LeastDepthTree(const std::vector<int>& depths) {
        while (leaves < depths.size()) leaves *= 2;
        nodes.assign(2 * leaves, {placed, 0});
        for (size_t i = 0; i < depths.size(); ++i) set(i, depths[i]);
    }
    void set(size_t place, int depth) {
        size_t node = leaves + place;
        nodes[node] = {depth, place};
        for (node /= 2; node >= 1; node /= 2) nodes[node] = better(nodes[2 * node], nodes[2 * node + 1]);
    }
    void markPlaced(size_t place) { set(place, placed); }
    size_t lastLeast() const { return nodes[1].second; }

private:
    using Entry = std::pair<int, size_t>;  // depth, place
    static constexpr int placed = std::numeric_limits<int>::max();
    static Entry better(const Entry& left, const Entry& right) { return right.first <= left.first ? right : left; }

    size_t leaves = 1;
    std::vector<Entry> nodes;
};

}  // namespace

void Scene::resolveHierarchy() {
    std::unordered_map<std::string, std::vector<SceneObject*>> bearing;
    for (SceneObject* object = objects; object != nullptr; object = object->next)
        bearing[object->name].push_back(object);
    int links = 0;
    int matches = 0;
    for (SceneObject* child = objects; child != nullptr; child = child->next) {
        if (!child->parentName) continue;
        auto found = bearing.find(*child->parentName);
        if (found == bearing.end()) continue;
        for (SceneObject* parent : found->second) {
            ++matches;
            if (parent == child) continue;
            child->parent = parent;
            logFormat("%s hierarchised on %s\n", child->name.c_str(), parent->name.c_str());
            ++links;
        }
    }
    logFormat("Number of hierarchised object : %d-%d\n", links, matches);
}

// A loop of parents has no depth: the file is refused at the first object
// whose chain runs into one.
void Scene::checkParentChains(const SceneReader& reader) const {
    const std::vector<SceneObject*> listed = listOf(objects);
    const std::vector<int> depths = depthsOf(listed);
    for (size_t i = 0; i < listed.size(); ++i)
        if (depths[i] == endlessDepth)
            reader.failAtObject(*listed[i], "the parent chain of " + listed[i]->name + " loops");
}

void Scene::sortByDepth() {
    std::vector<SceneObject*> table = listOf(objects);
    std::vector<int> depths = depthsOf(table);
    LeastDepthTree tree(depths);
    for (size_t i = 0; i < table.size(); ++i) {
        const size_t best = tree.lastLeast();
        std::swap(table[i], table[best]);
        std::swap(depths[i], depths[best]);
        tree.set(best, depths[best]);
        tree.markPlaced(i);
    }
    objects = table.empty() ? nullptr : table.front();
    for (size_t i = 0; i < table.size(); ++i) table[i]->next = i + 1 < table.size() ? table[i + 1] : nullptr;
}
