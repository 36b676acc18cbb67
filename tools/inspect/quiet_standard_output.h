#pragma once
// Sends what the engine prints on standard output (the JPEG loader prints an
// image's size there) to /dev/null for the scope, so that the tool's own
// standard output holds only its report.

class QuietStandardOutput {
public:
    QuietStandardOutput();
    ~QuietStandardOutput();
    QuietStandardOutput(const QuietStandardOutput&) = delete;
    QuietStandardOutput& operator=(const QuietStandardOutput&) = delete;

private:
    int saved = -1;  // the real standard output while it is replaced
};
