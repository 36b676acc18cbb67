#pragma once

#include <filesystem>

// Valid scene files with every kind of record, both versions, in folder.
void writeSceneSeeds(const std::filesystem::path& folder);

// Archives of a datas folder (datas_archive.h): a scene and its textures, in folder.
void writeDatasSeeds(const std::filesystem::path& folder);
