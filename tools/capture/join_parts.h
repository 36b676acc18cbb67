#pragma once
// Video parts of one capture, made apart with --frames FIRST-LAST --video PART
// (by other processes or on other machines), joined into one video without
// encoding again, under one soundtrack rendered over the whole span.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/capture/part_record.h"

namespace capture {

struct VideoPart {
    std::filesystem::path file;
    PartRecord record;
};

// The part's record, checked against its video stream; else why it cannot be joined.
struct PartReading {
    std::optional<VideoPart> part;
    std::string problem;
};
PartReading readPart(const std::filesystem::path& file);

// Why parts, in the show's order, do not make one capture (another show or
// picture, a gap, an overlap); nothing when they do.
std::optional<std::string> joinProblem(const std::vector<VideoPart>& parts);

// 0 when output was written; 2, with the reason on standard error, when the
// parts cannot be joined.
int joinParts(const std::vector<std::filesystem::path>& files, const std::filesystem::path& output);

}  // namespace capture
