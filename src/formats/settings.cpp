#include "formats/settings.h"

#include "formats/datafile.h"

namespace tessarin {

std::string formatSettings(const Settings& s) {
    const auto flag = [](bool on) { return on ? "1\n" : "0\n"; };
    return std::string("easyMode=") + flag(s.easyMode) + "zoom=" + std::to_string(s.zoom) + "\nsolvableDeals=" +
           flag(s.solvableDeals) + "deadEndWarning=" + flag(s.deadEndWarning);
}

Settings parseSettings(std::string_view bytes) {
    Settings s;
    for (const std::string& line : textLines(bytes)) {
        if (line == "easyMode=1") s.easyMode = true;
        else if (line == "easyMode=0") s.easyMode = false;
        else if (line == "zoom=100" || line == "zoom=150" || line == "zoom=200") s.zoom = std::stoi(line.substr(5));
        else if (line == "solvableDeals=1" || line == "solvableDeals=0") s.solvableDeals = line.back() == '1';
        else if (line == "deadEndWarning=1" || line == "deadEndWarning=0") s.deadEndWarning = line.back() == '1';
    }
    return s;
}

}  // namespace tessarin
