// DATA statements to ":"-joined assignments.
//
// Three phases: split the text after "data " into names and values at every
// "," and "/", numbering values by their overall count and lending a value
// with no name of its own the previous name; number runs of equal adjacent
// names 1, 2, 3...; then join "name=value" or "name(i)=value" with ":".
// The tables grow with the statement: nothing is dropped.
#include <string>
#include <vector>

#include "text/primitives.h"

namespace ftvb {
namespace {

// A 1-based table whose unset entries read as empty (entry 0 always is).
// Entries point into a pool of the tokens read, so that lending a name to
// a thousand values copies no text.
class Table {
public:
    Table() : pool_(1) {}

    const std::string& get(std::size_t k) const { return pool_[k < items_.size() ? items_[k] : 0]; }
    void set(std::size_t k, std::string value) {
        pool_.push_back(std::move(value));
        place(k, pool_.size() - 1);
    }
    // Entry k becomes the same text as entry `from`.
    void copy(std::size_t k, std::size_t from) { place(k, from < items_.size() ? items_[from] : 0); }

private:
    void place(std::size_t k, std::size_t token) {
        if (k >= items_.size()) items_.resize(k + 1, 0);
        items_[k] = token;
    }

    std::vector<std::string> pool_;   // token 0 is the empty text
    std::vector<std::size_t> items_;  // entry -> token
};

}  // namespace

std::string chg_data(std::string& ww) {
    const std::string_view t = ww.size() > 5 ? std::string_view(ww).substr(5) : std::string_view();

    Table names;
    Table values;
    std::size_t nameCount = 0;
    std::size_t valueCount = 0;
    bool inValues = false;
    std::string token;

    for (const char ch : t) {
        bool separator = ch == ',' || ch == '/';
        // Tokens lose their blanks at both ends after every character, so
        // no blank survives anywhere in one ("1 2" reads as "12").
        if (!separator && ch != ' ') token.push_back(ch);
        if (separator && !inValues && !token.empty()) {
            ++nameCount;
            names.set(nameCount, std::move(token));
            token.clear();
            if (ch == '/') inValues = true;
            separator = false;  // this "/" opened the values; it closes none
        }
        if (separator && inValues && !token.empty()) {
            ++valueCount;
            values.set(valueCount, std::move(token));
            token.clear();
            if (names.get(valueCount).empty()) names.copy(valueCount, valueCount - 1);
            if (ch == '/') {
                inValues = false;
                if (nameCount < valueCount) nameCount = valueCount;
            }
        }
    }

    std::vector<long> index(nameCount + 2, 0);
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

    // The line can be far longer than the statement (a long name lent to
    // many values): size it once rather than let it double its way there.
    std::size_t length = 0;
    for (std::size_t k = 1; k <= nameCount; ++k) {
        length += 1 + names.get(k).size() + 1 + values.get(k).size() + (index[k] != 0 ? 22 : 0);
    }
    std::string line;
    line.reserve(length);
    const char* separator = "";
    for (std::size_t k = 1; k <= nameCount; ++k) {
        line += separator;
        line += names.get(k);
        if (index[k] != 0) {
            line += '(';
            line += std::to_string(index[k]);
            line += ")=";
        } else {
            line += '=';
        }
        line += values.get(k);
        separator = ":";
    }
    ww.clear();
    return line;
}

}  // namespace ftvb
