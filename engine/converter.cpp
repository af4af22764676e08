// The per-file loop of a run: count each line, hand it to the intake, and
// close what is open when the file ends.
#include "engine/converter.h"

#include "engine/statement.h"

namespace ftvb {

Converter::Converter(LineSink& out, RunObserver& observer)
    : translation_{state_, out, observer},
      firstNonBlank_(std::string::npos),
      lastNonBlank_(std::string::npos) {}

void Converter::beginFile() {
    startStatement({});
    state_.procedureOpen = false;
    state_.reportOpen = false;
}

void Converter::feedLine(std::string_view line) {
    ++state_.lineCounter;
    translation_.observer.lineCounted(state_.lineCounter);
    intake(line);
}

void Converter::endFile() {
    completeStatement();
    if (state_.procedureOpen) {
        if (state_.reportOpen) translation_.write("close #1");
        if (!state_.pendingEndLine.empty()) translation_.write(state_.pendingEndLine);
    }
}

void Converter::completeStatement() { runStatementRoutine(translation_); }

}  // namespace ftvb
