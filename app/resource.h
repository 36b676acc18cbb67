// Numbers of the dialogs and controls of kvor.rc, shared by the script and
// the code that runs the dialogs.
#pragma once

// As the resource compiler's own winres.h has it.
#define IDC_STATIC (-1)

#define IDD_LAUNCHER 101
#define IDD_ABOUT 103
#define IDD_ADVANCED 104

#define IDC_LAUNCH 3
#define IDC_DRIVERS 1005
#define IDC_MODES 1006
#define IDC_FILE_NAME 1008
#define IDC_BROWSE 1013
#define IDC_NOT_YET 1014
#define IDC_ABOUT 1015
#define IDC_WAIT_FOR_RETRACE 1016
#define IDC_ADVANCED 1017
#define IDC_FLIP_WAIT 1017
