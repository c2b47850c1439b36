// The settings a player chooses, kept across starts in the player's folder
// ("settings.txt"): one "name=value" line each. Lines that are not a known
// setting with a sound value are passed over, so a damaged file only loses
// what is damaged.
#pragma once

#include <string>
#include <string_view>

namespace tessarin {

inline constexpr const char* kSettingsFile = "settings.txt";

struct Settings {
    bool easyMode = false;
    int zoom = 100;  // 100, 150 or 200 percent
    bool solvableDeals = false;   // ｽﾀｰﾄ deals only boards that can be cleared
    bool deadEndWarning = true;   // a board that can no longer be cleared is told at once

    friend bool operator==(const Settings&, const Settings&) = default;
};

std::string formatSettings(const Settings& settings);
Settings parseSettings(std::string_view bytes);

}  // namespace tessarin
