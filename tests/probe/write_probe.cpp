// The writer that files_writes_test kills at random moments: through the
// game's own file writers it replaces a file with two contents in turn
// ("replace FILE": 300000 A's, then 200000 B's) or appends numbered lines
// of 100 characters to it ("append FILE"), without end.
#include "formats/writefile.h"

#include <string>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string mode = argv[1];
    const std::string path = argv[2];
    std::string error;
    if (mode == "replace") {
        const std::string a(300000, 'A'), b(200000, 'B');
        for (long i = 0;; ++i)
            if (!tessarin::replaceFile(path, i % 2 == 0 ? b : a, error)) return 1;
    }
    if (mode == "append") {
        for (long i = 0;; ++i) {
            std::string line = "line " + std::to_string(i) + " ";
            line.resize(100, '.');
            if (!tessarin::appendLine(path, line, error)) return 1;
        }
    }
    return 2;
}
