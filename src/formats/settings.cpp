#include "formats/settings.h"

#include "formats/datafile.h"

namespace tessarin {

std::string formatSettings(const Settings& s) { return std::string("easyMode=") + (s.easyMode ? "1" : "0") + "\n"; }

Settings parseSettings(std::string_view bytes) {
    Settings s;
    for (const std::string& line : textLines(bytes)) {
        if (line == "easyMode=1") s.easyMode = true;
        else if (line == "easyMode=0") s.easyMode = false;
    }
    return s;
}

}  // namespace tessarin
