// The caption and tool-tip tables. The narrow literals hold UTF-8: the
// build asks every compiler for a UTF-8 execution character set.
#include "ui/captions.h"

#include "ftvb/version.h"

namespace ftvb::ui {

const std::array<TextRow, 13> kCaptionTable{{
    {Control::Form1, "Fortran to VB Converter", "Convertisseur Fortran / VB"},
    {Control::Command3, "Run !", "Valid !"},
    {Control::Command4, "Exit", "Quitter"},
    {Control::Label3, "About Mirador...", "A propos..."},
    {Control::Command1, "Add >", "Ajouter >"},
    {Control::Command2, "< Remove", "< Enlever"},
    {Control::Command5, "Add All >>>", "Ajouter tout >"},
    {Control::Command6, "<<< Remove All", "< Enlever tout"},
    {Control::Command7, "Ok", "Ok"},
    {Control::Label1_2, "VB Result File name (.BAS)", "Module VB Resultat (.BAS)"},
    {Control::Label1_1, "Files to be converted :", "Fichiers \u00e0 convertir :"},
    {Control::Label1_0, "FORTRAN Source Files :", "Fichiers Sources FORTRAN :"},
    {Control::Check1, "Finish for VBA", "Finir pour VBA"},
}};

const std::array<TextRow, 14> kToolTipTable{{
    {Control::Drive1, "Choose the Drive containing Fortran Files",
     "Choisissez le lecteur contenant les fichiers Fortran"},
    {Control::ext, "Enter the extensions of Fortran Files, like '*.for;*.src'",
     "Entrez les extensions des fichiers Fortran, comme '*.for;*.src'"},
    {Control::Dir1, "Choose the Folder containing Fortran Files to convert",
     "Choisissez le dossier contenant les fichiers Fortran \u00e0 convertir"},
    {Control::f1, "See the list of the Fortran files", "Liste des fichiers Fortran"},
    {Control::Command7, "Valid the extension choice to see the files in the list below",
     "Validez les extensions choisies pour afficher les fichiers dans la liste ci dessous"},
    {Control::f2, "See the fortran files selected to convert", "Liste des fichiers Fortran \u00e0 convertir"},
    {Control::b, "Enter the name of the Visual Basic module containing the fortran files converted",
     "Entrez le nom du Module Visual Basic devant contenir les fichiers Fortran convertis"},
    {Control::Command3, "Execute the Conversion", "Ex\u00e9cuter la Conversion"},
    {Control::Command4, "Exit Module", "Quitter le Module"},
    {Control::Command1, "Add the selected file to the list of Fortran Files to convert",
     "Ajouter le fichier s\u00e9lectionn\u00e9 \u00e0 la liste des fichiers \u00e0 convertir"},
    {Control::Command2, "Remove the selected file from the list of Fortran Files to convert",
     "Enlever le fichier s\u00e9lectionn\u00e9 de la liste des fichiers \u00e0 convertir"},
    {Control::Command5, "Add all the files to the list of Fortran Files to convert",
     "Ajouter tous les fichiers \u00e0 la liste des fichiers \u00e0 convertir"},
    {Control::Command6, "Remove all the files from the list of Fortran Files to convert",
     "Enlever tous les fichiers de la liste des fichiers \u00e0 convertir"},
    {Control::Check1, "Write VBA that compiles and runs, split into as many modules as needed",
     "\u00c9crire du VBA qui compile et s'ex\u00e9cute, en autant de modules que n\u00e9cessaire"},
}};

std::string startupTitle() {
    return "Convert Fortran / VB - " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

namespace {

const RunWords kEnglishWords{
    "End of Conversion",
    "The modules written: %1",
    "The module '%1' could not be written: %2",
    "These files could not be read and were left out:",
    "%1: %2",
    "The folder '%1' cannot be opened.",
    "The drive '%1' cannot be opened.",
    "No file could be read; the module '%1' was left as it was.",
    "1 place of the module needs a look: see %2",
    "%1 places of the module need a look: see %2",
    "The list of places to look at could not be written to '%1': %2",
    "a file of that name, which this program did not write, is in the way",
    "... and %1 more, all listed in %2",
    "... and %1 more",
};

const RunWords kFrenchWords{
    "Fin de la conversion",
    "Les modules \u00e9crits : %1",
    "Le module '%1' n'a pas pu \u00eatre \u00e9crit : %2",
    "Ces fichiers n'ont pas pu \u00eatre lus et ont \u00e9t\u00e9 laiss\u00e9s de c\u00f4t\u00e9 :",
    "%1 : %2",
    "Le dossier '%1' ne peut pas \u00eatre ouvert.",
    "Le lecteur '%1' ne peut pas \u00eatre ouvert.",
    "Aucun fichier n'a pu \u00eatre lu ; le module '%1' est rest\u00e9 tel quel.",
    "1 endroit du module est \u00e0 revoir : voir %2",
    "%1 endroits du module sont \u00e0 revoir : voir %2",
    "La liste des endroits \u00e0 revoir n'a pas pu \u00eatre \u00e9crite dans '%1' : %2",
    "un fichier de ce nom, que ce programme n'a pas \u00e9crit, est d\u00e9j\u00e0 l\u00e0",
    "... et %1 autres, tous list\u00e9s dans %2",
    "... et %1 autres",
};

struct ReasonRow {
    Reason reason;
    const char* english;
    const char* french;
};

// %1 stands for the name a reason may carry.
constexpr ReasonRow kReasons[] = {
    {Reason::noSuchFile, "No such file or directory", "fichier ou dossier introuvable"},
    {Reason::permissionDenied, "Permission denied", "permission refus\u00e9e"},
    {Reason::isAFolder, "Is a directory", "c'est un dossier"},
    {Reason::noSpace, "No space left on device", "plus de place sur le disque"},
    {Reason::fileTooLarge, "File too large", "fichier trop gros"},
    {Reason::outOfMemory, "out of memory", "m\u00e9moire insuffisante"},
    {Reason::inUse, "the file is in use by another program", "le fichier est utilis\u00e9 par un autre programme"},
    {Reason::sourceIsModule, "it is also listed as a source ('%1')",
     "il est aussi dans la liste des fichiers \u00e0 convertir ('%1')"},
    {Reason::isTheModule, "it is the output module", "c'est le module VB r\u00e9sultat"},
    {Reason::stopped, "the run was stopped", "la conversion a \u00e9t\u00e9 arr\u00eat\u00e9e"},
    {Reason::nothingRead, "no listed file could be read", "aucun fichier de la liste n'a pu \u00eatre lu"},
};

}  // namespace

const RunWords& runWords(const std::string& languageValue) {
    return isFrench(languageValue) ? kFrenchWords : kEnglishWords;
}

std::string fill(const char* text, const std::string& name, const std::string& reason) {
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            out += p[1] == '1' ? name : reason;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

std::string reasonText(const Failure& failure, const std::string& languageValue) {
    for (const ReasonRow& row : kReasons) {
        if (row.reason == failure.reason)
            return fill(isFrench(languageValue) ? row.french : row.english, failure.other);
    }
    return describe(failure);
}

}  // namespace ftvb::ui
