// libFuzzer target: the resource script reader on any text. The script may
// include "resource.h", which reads as the program's own; any other included
// file cannot be read. A ScriptError is the only failure a script may cause.

#include <cstdint>
#include <fstream>
#include <sstream>

#include "tools/rc/resource_script.h"

namespace {

std::string programHeader() {
    std::ifstream file(KVOR_RESOURCE_HEADER);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string readInclude(const std::filesystem::path& name) {
    static const std::string header = programHeader();
    if (name.filename() == "resource.h") return header;
    throw resource_script::ScriptError("fuzz.rc: cannot read " + name.string());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        resource_script::parse(text, "fuzz.rc", readInclude);
    } catch (const resource_script::ScriptError&) {
    }
    return 0;
}
