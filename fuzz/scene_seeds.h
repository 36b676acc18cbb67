#pragma once

#include <filesystem>

// Valid scene files with every kind of record, both versions, in folder.
void writeSceneSeeds(const std::filesystem::path& folder);
