// kvor-view: the show from a data folder, or one scene in a loop, in a window
// with a timeline, loaded again whenever its files are written again.

#include <cstdio>
#include <string>
#include <vector>

#include "tools/view/view_options.h"
#include "tools/view/viewer.h"
#include "tools/version/version_option.h"

int main(int argc, char** argv) {
    if (printVersionIfAsked(argc, argv, "kvor-view")) return 0;
    const view::ParsedViewOptions parsed = view::parseViewOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::fprintf(stderr, "kvor-view: %s\n%s", parsed.error.c_str(), view::viewUsage().c_str());
        return 2;
    }
    // The JPEG loader prints each image's size on standard output; the tool
    // speaks on standard error only.
    std::freopen("/dev/null", "w", stdout);
    return view::runViewer(*parsed.options);
}
