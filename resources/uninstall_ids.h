// Identifiers of Uninstall.exe's resources (uninstall.rc), shared by the resource script and the code.
#pragma once

#define IDI_UNINSTALL 101
#define IDB_WIZARD_HEADER 102
#define IDB_WIZARD_WATERMARK 101 /* named by the sheet; the program carries no such bitmap */

#define IDD_WELCOME_PAGE 100
#define IDD_LICENCE_PAGE 101
#define IDD_FOLDER_PAGE 102
#define IDD_USER_PAGE 103
#define IDD_REMOVAL_PAGE 104
#define IDD_FINISH_PAGE 105

#define IDC_REMOVING_LABEL 1000
#define IDC_REMOVAL_PROGRESS 1001
#define IDC_REMOVED_LIST 1004

#define IDS_LICENCE_TITLE 101
#define IDS_FOLDER_TITLE 102
#define IDS_USER_TITLE 103
#define IDS_REMOVAL_TITLE 104
#define IDS_LICENCE_SUBTITLE 201
#define IDS_FOLDER_SUBTITLE 202
#define IDS_USER_SUBTITLE 203
#define IDS_REMOVAL_SUBTITLE 204
