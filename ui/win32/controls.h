// The control ids of the two windows, for the windows themselves and for
// the tests that drive them by messages.
#pragma once

#include "ui/form1_layout.h"

namespace ftvb::ui::win32 {

enum Form1Id : int {
    idCommand1 = 101,
    idCommand2,
    idCommand3,
    idCommand4,
    idCommand5,
    idCommand6,
    idCommand7,
    idLabel1_0,
    idLabel1_1,
    idLabel1_2,
    idLabel3,
    idDrive1,
    idExt,
    idDir1,
    idF1,
    idF2,
    idB,
    idTt,
    idCcpt,
    idLn0,
    idLn1,
    idImage1,
    idCheck1,
};

// The id of each control of kForm1Layout.
constexpr int idOf(Part part) {
    switch (part) {
        case Part::Label3: return idLabel3;
        case Part::Label1_0: return idLabel1_0;
        case Part::Label1_1: return idLabel1_1;
        case Part::Label1_2: return idLabel1_2;
        case Part::Drive1: return idDrive1;
        case Part::Dir1: return idDir1;
        case Part::ext: return idExt;
        case Part::Command7: return idCommand7;
        case Part::f1: return idF1;
        case Part::Command1: return idCommand1;
        case Part::Command2: return idCommand2;
        case Part::Command5: return idCommand5;
        case Part::Command6: return idCommand6;
        case Part::f2: return idF2;
        case Part::b: return idB;
        case Part::Check1: return idCheck1;
        case Part::Command3: return idCommand3;
        case Part::Command4: return idCommand4;
        case Part::tt: return idTt;
        case Part::ccpt: return idCcpt;
        case Part::ln0: return idLn0;
        case Part::ln1: return idLn1;
        case Part::Image1: return idImage1;
    }
    return 0;
}

// The About box's labels are Label1 0 to 4 from idAboutLabel1; its OK
// button is IDOK.
enum AboutId : int {
    idLblTitle = 201,
    idLblVersion,
    idAboutImage1,
    idAboutLabel3,
    idAboutLabel1,
};

}  // namespace ftvb::ui::win32
