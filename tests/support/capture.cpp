#include "tests/support/capture.h"

#include "engine/statement.h"

namespace ftvb::testing {

std::vector<std::string> splitLines(std::string_view source) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < source.size()) {
        std::size_t lf = source.find('\n', start);
        if (lf == std::string_view::npos) lf = source.size();
        out.emplace_back(source.substr(start, lf - start));
        start = lf + 1;
    }
    return out;
}

std::vector<std::string> convertFiles(const std::vector<std::string>& files) {
    LineCapture sink;
    RunObserver quiet;
    Converter converter(sink, quiet);
    for (const std::string& file : files) {
        converter.beginFile();
        for (const std::string& line : splitLines(file)) converter.feedLine(line);
        converter.endFile();
    }
    return sink.lines;
}

std::vector<std::string> convertBody(const std::string& source) {
    std::vector<std::string> lines = convert(source);
    if (!lines.empty() && lines.front() == "'       ") lines.erase(lines.begin());
    return lines;
}

std::vector<std::string> routine(RunState& state, const std::string& statement) {
    LineCapture sink;
    RunObserver quiet;
    Translation t{state, sink, quiet};
    state.statement = statement;
    runStatementRoutine(t);
    return sink.lines;
}

std::string afterStages(std::initializer_list<StageFn> stages, std::string text, RunState& state,
                        std::vector<std::string>* lines) {
    LineCapture sink;
    RunObserver quiet;
    Translation t{state, sink, quiet};
    state.statement = std::move(text);
    for (StageFn stage : stages) stage(t);
    if (lines) lines->insert(lines->end(), sink.lines.begin(), sink.lines.end());
    return state.statement;
}

std::string card(std::string_view statement, std::string_view label, char mark) {
    std::string line(label);
    line.resize(5, ' ');
    line.push_back(mark);
    line.append(statement);
    return line;
}

std::string show(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += "  \xC2\xAB" + l + "\xC2\xBB\n";
    return out.empty() ? "  (no lines)\n" : out;
}

}  // namespace ftvb::testing
