#include "engine/review_place.h"

#include <filesystem>
#include <string_view>

#include "engine/shown_name.h"

namespace ftvb {

std::string reviewFileBeside(const std::string& module) {
    const std::size_t folder = module.find_last_of(std::filesystem::path::preferred_separator == '\\' ? "/\\:" : "/");
    const std::size_t start = folder == std::string::npos ? 0 : folder + 1;
    const std::size_t dot = module.rfind('.');
    const bool extension = dot != std::string::npos && dot > start;
    return (extension ? module.substr(0, dot) : module) + ".review.txt";
}

bool isOurReview(const std::string& name) {
    SourceReader reader;
    if (!reader.open(name).ok()) return false;
    std::string_view line;
    std::string last;
    while (reader.nextLine(line)) last.assign(line);
    return reader.error().ok() && last.rfind("review: ", 0) == 0;
}

ReviewPlace reviewPlace(const std::string& review, const std::string& module, const FileList& sources,
                        ReviewNamedBy namedBy) {
    ReviewPlace place;
    place.clash = outputClash(review, sources, &module);
    if (place.clash || namedBy == ReviewNamedBy::user) return place;
    if (identityOf(review).exists) {
        place.ours = isOurReview(review);
        place.foreign = !place.ours;
    }
    return place;
}

std::string describeReviewClash(const OutputClash& clash, const std::string& module) {
    if (clash.with == OutputClash::With::source) {
        std::string text = "it is also listed as a source ('";
        appendShownName(text, clash.source);
        return text + "')";
    }
    if (clash.with == OutputClash::With::otherOutput) {
        return module == "-" ? "the module goes to standard output already" : "it is also the module";
    }
    return {};
}

}  // namespace ftvb
