// The conversion run: check the list against the module, open the module,
// then read each listed file line by line into the converter, and put the
// module in place only when everything is written.
#include "engine/run.h"

#include <new>

#include "engine/converter.h"
#include "engine/files.h"
#include "text/bytes.h"

namespace ftvb {
namespace {

const char* const kIsTheModule = "it is the output module";


RunResult stopped(RunResult result, long long lines, ModuleWriter& module) {
    module.abandon();
    result.stopped = true;
    result.lines = lines;
    result.moduleError = "the run was stopped";
    return result;
}

RunResult convertAll(const std::string& moduleName, const FileList& files, RunObserver& observer,
                     ModuleWriter& module) {
    RunResult result;
    const std::size_t count = files.count();

    // A source that is the module (or, for "-", the file standard output
    // goes to) would be emptied or fed its own output: refuse first.
    const FileIdentity module0 = moduleName == "-" ? standardOutputIdentity() : identityOf(moduleName);
    auto isTheModule = [&](const std::string& name) { return module0.regular && identityOf(name) == module0; };
    if (module0.regular) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name(trimBlanks(files.entry(i)));
            if (!name.empty() && isTheModule(name)) {
                result.moduleError = "it is also listed as a source ('" + name + "')";
                return result;
            }
        }
    }

    if (std::string why = module.open(moduleName); !why.empty()) {
        result.moduleError = why;
        return result;
    }

    Converter converter(module, observer);
    converter.state().moduleName = moduleName;
    std::string_view line;
    for (std::size_t i = 0; i < count; ++i) {
        converter.beginFile();
        const std::string name(trimBlanks(files.entry(i)));
        if (name.empty()) continue;
        SourceReader source(&observer);
        if (std::string why = source.open(name); !why.empty()) {
            // Opening a pipe nobody writes to waits until a signal comes.
            if (observer.stopRequested()) return stopped(std::move(result), converter.state().lineCounter, module);
            result.skipped.push_back({name, why});
            continue;
        }
        // The window may have changed the list since the check above.
        if (module0.regular && source.identity() == module0) {
            result.skipped.push_back({name, kIsTheModule});
            continue;
        }
        while (source.nextLine(line)) {
            converter.feedLine(line);
            if (observer.stopRequested()) return stopped(std::move(result), converter.state().lineCounter, module);
        }
        if (source.stopped()) return stopped(std::move(result), converter.state().lineCounter, module);
        // A file that fails part-way is still closed properly in the module,
        // and reported.
        if (!source.error().empty()) result.skipped.push_back({name, source.error()});
        converter.endFile();
    }
    result.lines = converter.state().lineCounter;
    result.moduleError = module.commit();
    result.moduleWritten = result.moduleError.empty();
    return result;
}

}  // namespace

RunResult runConversion(const std::string& moduleName, const FileList& files, RunObserver& observer) {
    ModuleWriter module;
    try {
        return convertAll(moduleName, files, observer, module);
    } catch (const std::bad_alloc&) {
        // The rules can ask for more than there is (a DATA statement lending
        // a long name to a million values): say so, and keep the old module.
        module.abandon();
        RunResult result;
        result.moduleError = "out of memory";
        return result;
    }
}

}  // namespace ftvb
