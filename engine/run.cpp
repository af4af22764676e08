// The conversion run: check the list against the module, open the module,
// then read each listed file line by line into the converter, and put the
// module in place only when everything is written.
#include "engine/run.h"

#include "engine/converter.h"
#include "engine/files.h"
#include "text/bytes.h"

namespace ftvb {
namespace {

const char* const kIsTheModule = "it is the output module";

}  // namespace

RunResult runConversion(const std::string& moduleName, const FileList& files, RunObserver& observer) {
    RunResult result;
    const std::size_t count = files.count();

    // A source that is the module would be emptied by the run: refuse first.
    const FileIdentity module0 = moduleName == "-" ? FileIdentity{} : identityOf(moduleName);
    auto isTheModule = [&](const std::string& name) { return module0.exists && identityOf(name) == module0; };
    if (module0.exists) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name(trimBlanks(files.entry(i)));
            if (!name.empty() && isTheModule(name)) {
                result.moduleError = "it is also listed as a source ('" + name + "')";
                return result;
            }
        }
    }

    ModuleWriter module;
    if (std::string why = module.open(moduleName); !why.empty()) {
        result.moduleError = why;
        return result;
    }

    Converter converter(module, observer);
    converter.state().moduleName = moduleName;
    std::string line;
    for (std::size_t i = 0; i < count; ++i) {
        converter.beginFile();
        const std::string name(trimBlanks(files.entry(i)));
        if (name.empty()) continue;
        // The window may have changed the list since the check above.
        if (isTheModule(name)) {
            result.skipped.push_back({name, kIsTheModule});
            continue;
        }
        SourceReader source;
        if (std::string why = source.open(name); !why.empty()) {
            result.skipped.push_back({name, why});
            continue;
        }
        while (source.readLine(line)) {
            converter.feedLine(line);
            if (observer.stopRequested()) {
                result.stopped = true;
                result.lines = converter.state().lineCounter;
                module.abandon();
                result.moduleError = "the run was stopped";
                return result;
            }
        }
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

}  // namespace ftvb
