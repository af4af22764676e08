#include "tests/support/capture.h"

#include "engine/routine.h"

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

std::vector<std::string> routine(SharedState& state, const std::string& statement, Texts sought) {
    LineCapture sink;
    LineEmitter out(sink);
    RunObserver quiet;
    std::vector<std::string> closedLoops;
    Statement s(statement);
    if (sought != kEveryText) {
        s.begin();
        statement.copy(s.extend(statement.size()), statement.size());
        s.completeLowered(sought);
    }
    StageContext c{s, state.procedure, state.file, state.run, out, quiet, closedLoops};
    runStatementRoutine(c);
    return sink.lines;
}

std::string afterStages(std::initializer_list<StageFn> stages, std::string text, SharedState& state,
                        std::vector<std::string>* lines) {
    LineCapture sink;
    LineEmitter out(sink);
    RunObserver quiet;
    std::vector<std::string> closedLoops;
    Statement s(text);
    StageContext c{s, state.procedure, state.file, state.run, out, quiet, closedLoops};
    for (StageFn stage : stages) stage(c);
    if (lines) lines->insert(lines->end(), sink.lines.begin(), sink.lines.end());
    return std::string(s.text());
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
