// Identifiers of the calculator's resources and controls.
// A control identifier names a control inside one dialog template only: each
// dialog has its own section below, and the same number may stand for a
// different control in another dialog (1025 is "Est" in the main dialog and
// the list in the information dialog).
#ifndef NORVANE_RESOURCE_H
#define NORVANE_RESOURCE_H

// Resources of the program.
#define IDD_DECLINATION_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_INFO_DIALOG 137
#define IDD_MAP_DIALOG 147
#define IDB_MAP 149
#define IDB_MAP_SMALL 152

// Controls of the main dialog, template IDD_DECLINATION_DIALOG (102).
#define IDC_LAT_DEG 1000
#define IDC_LAT_MIN 1001
#define IDC_LAT_SEC 1002
#define IDC_LON_DEG 1003
#define IDC_LON_MIN 1004
#define IDC_LON_SEC 1005
#define IDC_CALCULER 1006
#define IDC_DATE 1007
#define IDC_DECLINATION 1008
#define IDC_ANNUAL_VARIATION 1009
#define IDC_LAT_DECIMAL 1010
#define IDC_LON_DECIMAL 1013
#define IDC_DMS_NORTH 1018
#define IDC_DMS_SOUTH 1019
#define IDC_DMS_EAST 1020
#define IDC_DMS_WEST 1021
#define IDC_INFO 1022
#define IDC_DEC_NORTH 1023
#define IDC_DEC_SOUTH 1024
#define IDC_DEC_EAST 1025
#define IDC_DEC_WEST 1026
#define IDC_RESULT_LABEL 1030
#define IDC_MODE_DMS 1031
#define IDC_MODE_DECIMAL 1032
#define IDC_MAP_SMALL 1033

// Controls of the information dialog, template IDD_INFO_DIALOG (137).
#define IDC_INFO_LIST 1025

// Controls of the map dialog, template IDD_MAP_DIALOG (147): only the picture,
// which has no identifier.

// The static texts and pictures that no code addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif
