// chg_data against a reference that follows the rule literally: the token
// is trimmed after every character, names and values go into tables whose
// unset entries read as empty, runs of equal names are numbered in the two
// passes the rule describes. The statement text must be left empty.
#include <cstdint>
#include <map>
#include <string>

#include "fuzz/check.h"
#include "text/primitives.h"

namespace {

struct Table {
    std::map<std::size_t, std::string> items;
    std::string get(std::size_t k) const {
        const auto it = items.find(k);
        return it == items.end() ? std::string() : it->second;
    }
};

void trim(std::string& s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) {
        s.clear();
        return;
    }
    s = s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string reference(const std::string& ww) {
    const std::string t = ww.size() > 5 ? ww.substr(5) : std::string();
    Table names;
    Table values;
    std::size_t nameCount = 0;
    std::size_t valueCount = 0;
    bool inValues = false;
    std::string token;
    for (const char ch : t) {
        bool separator = ch == ',' || ch == '/';
        if (!separator) token += ch;
        trim(token);
        if (separator && !inValues && !token.empty()) {
            names.items[++nameCount] = token;
            token.clear();
            if (ch == '/') inValues = true;
            separator = false;
        }
        if (separator && inValues && !token.empty()) {
            values.items[++valueCount] = token;
            if (names.get(valueCount).empty()) names.items[valueCount] = names.get(valueCount - 1);
            token.clear();
            if (ch == '/') {
                inValues = false;
                if (nameCount < valueCount) nameCount = valueCount;
            }
        }
    }
    std::map<std::size_t, long> index;
    long run = 0;
    for (std::size_t k = 1; k <= nameCount; ++k) {
        if (names.get(k + 1) == names.get(k)) {
            index[k] = ++run;
        } else {
            run = 0;
        }
    }
    for (std::size_t k = 2; k <= nameCount; ++k) {
        if (names.get(k) == names.get(k - 1)) index[k] = index[k - 1] + 1;
    }
    std::string line;
    std::string separator;
    for (std::size_t k = 1; k <= nameCount; ++k) {
        line += separator + names.get(k);
        if (index[k] != 0) {
            line += "(" + std::to_string(index[k]) + ")=";
        } else {
            line += "=";
        }
        line += values.get(k);
        separator = ":";
    }
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string ww = text;
    const std::string got = ftvb::chg_data(ww);
    if (!ww.empty()) ftvb::fuzz::fail("chg_data left text in its argument", {{"text", text}, {"left", ww}});
    const std::string want = reference(text);
    if (got != want) {
        ftvb::fuzz::fail("chg_data differs from the literal reference",
                         {{"text", text}, {"chg_data", got}, {"reference", want}});
    }
    return 0;
}
