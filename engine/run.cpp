// The conversion run: check the list against the module, open the module,
// then read each listed file line by line into the converter, and put the
// module in place only when everything is written.
#include "engine/run.h"

#include <new>

#include "engine/converter.h"
#include "engine/files.h"

namespace ftvb {
namespace {

RunResult stopped(RunResult result, long long lines, ModuleWriter& module) {
    module.abandon();
    result.stopped = true;
    result.lines = lines;
    result.moduleFailure = runFailure(Reason::stopped);
    return result;
}

RunResult convertAll(const std::string& moduleName, const FileList& files, RunObserver& observer,
                     ModuleWriter& module) {
    RunResult result;
    const std::size_t count = files.count();

    // A source that is the module (or, for "-", the file standard output
    // goes to) would be emptied or fed its own output: refuse first.
    if (const OutputClash clash = outputClash(moduleName, files, nullptr, &observer)) {
        if (clash.with == OutputClash::With::stopped) return stopped(std::move(result), 0, module);
        result.moduleFailure = runFailure(Reason::sourceIsModule, clash.source);
        return result;
    }
    const FileIdentity module0 = moduleName == "-" ? standardOutputIdentity() : identityOf(moduleName);

    if (const Status opened = module.open(moduleName); !opened.ok()) {
        if (opened.reason() == Reason::stopped) return stopped(std::move(result), 0, module);
        result.moduleFailure = opened.failure();
        return result;
    }

    Converter converter(module, observer);
    std::string_view line;
    std::size_t listed = 0;
    std::size_t readWhole = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = files.entry(i);
        converter.beginFile(name);
        if (name.empty()) continue;
        ++listed;
        SourceReader source(&observer);
        if (const Status opened = source.open(name); !opened.ok()) {
            // Opening a pipe nobody writes to waits until a signal comes.
            if (observer.stopRequested()) return stopped(std::move(result), converter.lines(), module);
            result.skipped.push_back({name, opened.failure()});
            continue;
        }
        // The list may have changed since the check above.
        if (module0.regular && source.identity() == module0) {
            result.skipped.push_back({name, runFailure(Reason::isTheModule)});
            continue;
        }
        while (source.nextLine(line)) {
            converter.feedLine(line);
            if (observer.stopRequested()) return stopped(std::move(result), converter.lines(), module);
        }
        if (source.stopped()) return stopped(std::move(result), converter.lines(), module);
        // A file that fails part-way is still closed properly in the module,
        // and reported.
        if (!source.error().ok()) {
            result.skipped.push_back({name, source.error().failure()});
        } else {
            ++readWhole;
        }
        converter.endFile();
    }
    result.lines = converter.lines();
    // A stop asked for after the last line still keeps the old module: the
    // user cannot tell how far the run had come.
    if (module.error().failedWith(Reason::stopped) || observer.stopRequested()) {
        return stopped(std::move(result), converter.lines(), module);
    }
    if (listed > 0 && readWhole == 0) {
        module.abandon();
        result.moduleFailure = runFailure(Reason::nothingRead);
        return result;
    }
    observer.beforeCommit();
    if (observer.stopRequested()) return stopped(std::move(result), converter.lines(), module);
    if (const Status committed = module.commit(); !committed.ok()) {
        // The last bytes waited for a reader that never came.
        if (committed.reason() == Reason::stopped) return stopped(std::move(result), converter.lines(), module);
        result.moduleFailure = committed.failure();
    } else {
        result.moduleWritten = true;
    }
    return result;
}

}  // namespace

RunResult runConversion(const std::string& moduleName, const FileList& files, RunObserver& observer) {
    ModuleWriter module(&observer);
    try {
        return convertAll(moduleName, files, observer, module);
    } catch (const std::bad_alloc&) {
        // The rules can ask for more than there is (a DATA statement lending
        // a long name to a million values): say so, and keep the old module.
        module.abandon();
        RunResult result;
        result.moduleFailure = runFailure(Reason::outOfMemory);
        return result;
    }
}

}  // namespace ftvb
