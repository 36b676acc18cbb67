#pragma once
// The subcommands of kvor-inspect. Each takes the arguments after its name
// (with --log already handled) and returns the exit status.

#include <string>
#include <vector>

// image FILE [--opacity X] [--png OUT.png]: decodes FILE with the loader its
// extension selects and prints one JSON object describing the pixels.
int inspectImage(const std::vector<std::string>& arguments);

// scene FILE [--frame N]... | scene FILE --render N --png OUT.png: loads FILE
// through the engine's scene load and prints one JSON object describing it and
// its frames N, or draws frame N on the capture driver into OUT.png.
int inspectScene(const std::vector<std::string>& arguments);

// overlay EFFECT --duration N [--start S] [--frame F]...: fills an overlay's
// corner tables with defaultPath and then EFFECT (one of defaultPath,
// fadePanel, fadeSkewed, pulseTopLeft, pulseBottomRight, swingVertical,
// fadeInBottom) and prints them as JSON, with the vertices draw gives the
// device on each frame F of a 640 x 480 display (null when not drawn).
int inspectOverlay(const std::vector<std::string>& arguments);
