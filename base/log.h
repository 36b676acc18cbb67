#pragma once
// The log file: plain text through buffered stdio, opened once per process.

#include "base/printf_format.h"

class Scene;

// Opens fileName unless a log is already open (the first name wins) and writes
// the start line; a log that cannot be created is a fatal stop. Always makes
// scene the registered scene.
void logOpen(const char* fileName, Scene* scene);
// text as data, then "\n".
void logWrite(const char* text);
// text, suffix, then "\n".
void logWrite2(const char* text, const char* suffix);
// A formatted text exactly as given: it carries its own newline, if any.
void logFormat(const char* format, ...) KVOR_PRINTF_FORMAT(1, 2);
void logFlush();
// Flushes and closes; a later logOpen starts a new log.
void logClose();
