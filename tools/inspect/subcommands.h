#pragma once
// The subcommands of kvor-inspect. Each takes the arguments after its name
// (with --log already handled) and returns the exit status.

#include <string>
#include <vector>

// image FILE [--opacity X] [--png OUT.png]: decodes FILE with the loader its
// extension selects and prints one JSON object describing the pixels.
int inspectImage(const std::vector<std::string>& arguments);
