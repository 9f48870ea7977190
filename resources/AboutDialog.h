#pragma once

// Identifiers of the About box template in AboutDialog.rc.
#define IDD_ABOUT 100
#define IDC_ABOUT_LINK 1003
#define IDC_ABOUT_ICON 1004
