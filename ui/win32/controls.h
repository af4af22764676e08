// The control ids of the two windows, for the windows themselves and for
// the tests that drive them by messages.
#pragma once

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
