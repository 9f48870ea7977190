#pragma once

// Identifiers of the test dialog template in FrameworkTest.rc.
#define IDD_FRAMEWORK_TEST 300
#define IDC_TEST_EDIT 301
#define IDC_TEST_BUTTON 302
#define IDC_TEST_LIST 303
