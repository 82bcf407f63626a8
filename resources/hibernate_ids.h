// Identifiers of the hibernate warning's dialog template (hibernate_form.rc).
#pragma once

#define IDD_HIBERNATE_FORM 300
#define IDC_HIBERNATE_GROUP 301
#define IDC_HIBERNATE_LABEL1 302
#define IDC_HIBERNATE_LABEL2 303
#define IDC_HIBERNATE_LABEL3 304
#define IDC_HIBERNATE_CHECKBOX1 305
