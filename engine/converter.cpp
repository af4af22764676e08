#include "engine/converter.h"

#include "engine/routine.h"

namespace ftvb {

Converter::Converter(LineSink& out, RunObserver& observer)
    : out_(out), observer_(observer), intake_(soughtInComments()), reviewing_(observer.wantsReview()) {}

void Converter::beginFile(std::string_view name) {
    source_.assign(name);
    intake_.beginFile();
    file_ = {};
}

void Converter::feedLine(std::string_view line) {
    ++lines_;
    observer_.lineCounted(lines_);
    if (Statement* done = intake_.take(line)) translate(*done);
}

void Converter::endFile() {
    translate(intake_.finish());
    if (file_.procedureOpen) {
        if (file_.reportOpen) out_.line("close #1");
        if (!procedure_.endLine().empty()) out_.line(procedure_.endLine());
    }
}

void Converter::translate(Statement& statement) {
    StageContext c(statement, procedure_, file_, run_, out_, observer_, closedLoops_);
    c.reviewing = reviewing_;
    c.source = source_;
    runStatementRoutine(c);
}

}  // namespace ftvb
