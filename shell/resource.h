#pragma once
// Resource ids shared by the dialog template (vyr-degats.rc) and the code. Plain macros,
// because the resource compiler reads this file too. The control ids are the field ids
// of calculator/fields.h.

#define VYR_IDD_MAIN 1
#define VYR_IDI_MAIN 103
