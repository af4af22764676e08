// Resource numbers shared by the .rc files of the Windows programs and the
// code that loads them.
#pragma once

// The program's icon; the lowest number, so Explorer shows it for the .exe.
#define FTVB_ICON 1
