#pragma once
// Whether scene files can be read, asked of kvor-inspect in processes of their
// own: the engine's reader stops the program on a file it cannot read, and
// the viewer must keep showing the last good scene instead.

#include <optional>
#include <string>
#include <vector>

namespace view {

// kvor-inspect beside this program (or where the build tree puts it),
// else the one on the PATH.
std::string inspectProgram();

// Reads every scene (names in the current directory) at once; the first one
// that cannot be read, as "NAME: what is wrong", or nothing when all can.
std::optional<std::string> unreadableScene(const std::string& inspect, const std::vector<std::string>& scenes);

}  // namespace view
