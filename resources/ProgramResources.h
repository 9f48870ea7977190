#pragma once

// Identifiers of the program's icon and main dialog in Program.rc.
#define IDI_PROGRAM 128
#define IDD_MAIN 129
#define IDC_ADD_FILE 1000
#define IDC_ADD_FOLDER 1002
#define IDC_ADD_FREE_SPACE 1003
#define IDC_STOP_SELECTED 1004
#define IDC_ADD_RECYCLE_BIN 1005
#define IDC_TASK_LIST 1007
#define IDC_SHOW_HELP 1008
#define IDC_QUEUE_OUTCOME 1014
#define IDC_ROW_REASON 1020
#define ID_APP_ABOUT 57664
