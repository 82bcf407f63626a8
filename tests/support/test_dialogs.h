// Identifiers of the test program's dialog templates (tests/support/test_dialogs.rc).
#pragma once

#define IDD_TEST_DIALOG 900
#define IDD_TEST_PAGE 901
#define IDC_TEST_EDIT 1000
#define IDC_TEST_CHECK 1001
