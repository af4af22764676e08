// The window's words in English and French: the caption and tool-tip tables,
// applied in table order, and the texts of the run's messages. All UTF-8.
#pragma once

#include <array>
#include <string>

#include "engine/failure.h"
#include "ui/window_ops.h"

namespace ftvb::ui {

// The language setting's values. One rule everywhere, for the captions, the
// tool tips and every message: "1" is French, anything else (nothing stored,
// a value edited by hand) English.
inline constexpr const char* kEnglish = "0";
inline constexpr const char* kFrench = "1";
inline bool isFrench(const std::string& languageValue) { return languageValue == kFrench; }

struct TextRow {
    Control control;
    const char* english;
    const char* french;
};

extern const std::array<TextRow, 13> kCaptionTable;
extern const std::array<TextRow, 14> kToolTipTable;

// "Convert Fortran / VB - 2.2.2": the title before any language is applied.
std::string startupTitle();

// The words of the run's messages in one language.
// In the templates %1 stands for a name and %2 for a reason (see fill).
struct RunWords {
    const char* endOfConversion;
    // After a finished run that wrote several modules: %1 their names.
    const char* modulesWritten;
    const char* moduleNotWritten;
    const char* filesLeftOut;  // heading of the list of files that could not be read
    const char* fileLeftOut;
    const char* folderNotOpened;
    const char* driveNotOpened;
    const char* nothingRead;  // no listed file could be read, the module kept
    // After a run whose module needs a person somewhere: %1 is how many
    // places, %2 the list's file beside the module.
    const char* reviewOne;
    const char* reviewMany;
    const char* reviewNotWritten;  // %1 the list's file, %2 why
    const char* reviewNotOurs;     // why: a file of that name that the program did not write
    // After the first names of a long list of files left out: %1 is how
    // many more, %2 the file beside the module that lists them all.
    const char* moreLeftOut;
    const char* moreLeftOutNoList;  // the same when that file could not be written
};

// The template with %1 and %2 replaced; the values themselves are not
// searched again, so a name holding "%2" stays as it is.
std::string fill(const char* text, const std::string& name, const std::string& reason = {});

// The words of the language the setting names (see isFrench).
const RunWords& runWords(const std::string& languageValue);

// Why a file failed, in the window's language: the common reasons and the
// run's own in our words, any other in the system's.
std::string reasonText(const Failure& failure, const std::string& languageValue);

}  // namespace ftvb::ui
