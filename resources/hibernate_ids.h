// Identifiers of the hibernate warning's dialog template (hibernate_form.rc).
#pragma once

#define IDD_HIBERNATE_FORM 300
#define IDC_HIBERNATE_GROUP 301
#define IDC_HIBERNATE_EXPLANATION 302
#define IDC_HIBERNATE_STEP1 303
#define IDC_HIBERNATE_STEP2 304
#define IDC_HIBERNATE_DONT_SHOW_AGAIN 305
