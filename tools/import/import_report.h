#pragma once
// The lines an import prints besides its summary: each thing of the file it
// could not carry over, each name it had to change. A thing met many times
// (the same map on many materials) is said once.

#include <set>
#include <string>
#include <vector>

namespace gltf_import {

class ImportReport {
public:
    void note(const std::string& line) {
        if (said.insert(line).second) lines.push_back(line);
    }
    const std::vector<std::string>& notes() const { return lines; }

private:
    std::vector<std::string> lines;
    std::set<std::string> said;
};

}  // namespace gltf_import
