#include "formats/settings.h"

#include "formats/datafile.h"

namespace tessarin {

std::string formatSettings(const Settings& s) {
    return std::string("easyMode=") + (s.easyMode ? "1" : "0") + "\nzoom=" + std::to_string(s.zoom) + "\n";
}

Settings parseSettings(std::string_view bytes) {
    Settings s;
    for (const std::string& line : textLines(bytes)) {
        if (line == "easyMode=1") s.easyMode = true;
        else if (line == "easyMode=0") s.easyMode = false;
        else if (line == "zoom=100" || line == "zoom=150" || line == "zoom=200") s.zoom = std::stoi(line.substr(5));
    }
    return s;
}

}  // namespace tessarin
