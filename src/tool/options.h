// Options of the tool's subcommands: "--name NUMBER", each number option
// with a range, and flags "--name" without a value. Each option is given at
// most once; everything that does not start with "-" is handed back in order.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tessarin::tool {

inline constexpr int64_t kMaxBudgetMs = 3600000;      // one hour
inline constexpr int64_t kMaxNodes = 1000000000000;  // 10^12
inline constexpr int64_t kMaxJobs = 256;              // threads of a batch

struct NumberOption {
    int64_t min = 0;
    int64_t max = 0;
    int64_t* value = nullptr;
};

struct OptionTable {
    std::map<std::string, NumberOption> numbers;
    std::map<std::string, bool*> flags;  // set to true when given
};

// A decimal number without sign, from min to max.
inline bool parseNumber(const std::string& s, int64_t min, int64_t max, int64_t& value) {
    if (s.empty() || s.size() > 13) return false;
    int64_t v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < min || v > max) return false;
    value = v;
    return true;
}

// Reads the options of `args` into the table's values and the other
// arguments into `rest`. On failure returns false and says why in error.
inline bool parseOptions(const std::vector<std::string>& args, const OptionTable& table,
                         std::vector<std::string>& rest, std::string& error) {
    std::map<std::string, bool> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || a[0] != '-') {
            rest.push_back(a);
            continue;
        }
        const auto flag = table.flags.find(a);
        const auto it = table.numbers.find(a);
        if (flag == table.flags.end() && it == table.numbers.end()) {
            error = "unknown option '" + a + "'";
            return false;
        }
        if (seen[a]) {
            error = a + " is given twice";
            return false;
        }
        seen[a] = true;
        if (flag != table.flags.end()) {
            *flag->second = true;
            continue;
        }
        const NumberOption& o = it->second;
        const std::string range = "a number from " + std::to_string(o.min) + " to " + std::to_string(o.max);
        if (i + 1 >= args.size()) {
            error = a + " needs " + range;
            return false;
        }
        if (!parseNumber(args[++i], o.min, o.max, *o.value)) {
            error = a + " needs " + range + ", not '" + args[i] + "'";
            return false;
        }
    }
    return true;
}

}  // namespace tessarin::tool
