// Resource and control identifiers, shared by config.rc and the code.
#pragma once

#define IDD_SETTINGS            109
#define IDB_BANNER              118
#define IDI_APP                 122
#define IDR_CARRIED_FONT        130

// Information group
#define IDC_REPORT              1054

// Web banner
#define IDC_BANNER              1055

// Start-up settings
#define IDC_FULLSCREEN          1045
#define IDC_FPS_LOCK            1049
#define IDC_FPS_DISPLAY         1061
#define IDC_BGM_IN_MEMORY       1080

// 3D settings
#define IDC_SCREEN_EFFECTS      1079
#define IDC_NO_RENDER_TEXTURE   1062
#define IDC_TEXTURE_POW2        1078
#define IDC_16BIT_COLOR         1056
#define IDC_CEL_SHADING         1077
#define IDC_SHADOWS             1076
#define IDC_LOW_RES_MODEL       1075

// Combo boxes
#define IDC_RESOLUTION          1081
#define IDC_FSAA                1085

// Buttons
#define IDC_UPDATE              1046
#define IDC_CANCEL              1047
#define IDC_DEFAULT             1050

// Key assignment, player 1
#define IDC_FORCE_DIR_1P        1048
#define IDC_BEGIN_ASSIGN_1P     1065
#define IDC_END_ASSIGN_1P       1067

// Key assignment, player 2 (shown, never enabled)
#define IDC_FORCE_DIR_2P        1082
#define IDC_BEGIN_ASSIGN_2P     1083
#define IDC_END_ASSIGN_2P       1084

// Player 1 action radios (rows 0..12) and their binding boxes
#define IDC_P1_RADIO_UP         1012
#define IDC_P1_RADIO_DOWN       1013
#define IDC_P1_RADIO_LEFT       1014
#define IDC_P1_RADIO_RIGHT      1015
#define IDC_P1_RADIO_A          1016
#define IDC_P1_RADIO_B          1017
#define IDC_P1_RADIO_C          1018
#define IDC_P1_RADIO_D          1019
#define IDC_P1_RADIO_L1         1066
#define IDC_P1_RADIO_R1         1069
#define IDC_P1_RADIO_L2         1059
#define IDC_P1_RADIO_R2         1086
#define IDC_P1_RADIO_START      1087

#define IDC_P1_EDIT_UP          1020
#define IDC_P1_EDIT_DOWN        1021
#define IDC_P1_EDIT_LEFT        1022
#define IDC_P1_EDIT_RIGHT       1023
#define IDC_P1_EDIT_A           1024
#define IDC_P1_EDIT_B           1025
#define IDC_P1_EDIT_C           1026
#define IDC_P1_EDIT_D           1027
#define IDC_P1_EDIT_L1          1068
#define IDC_P1_EDIT_R1          1070
#define IDC_P1_EDIT_L2          1060
#define IDC_P1_EDIT_R2          1088
#define IDC_P1_EDIT_START       1089

// Player 2 action radios and binding boxes
#define IDC_P2_RADIO_UP         1028
#define IDC_P2_RADIO_DOWN       1029
#define IDC_P2_RADIO_LEFT       1030
#define IDC_P2_RADIO_RIGHT      1031
#define IDC_P2_RADIO_A          1032
#define IDC_P2_RADIO_B          1033
#define IDC_P2_RADIO_C          1034
#define IDC_P2_RADIO_X          1035
#define IDC_P2_RADIO_L1         1063
#define IDC_P2_RADIO_R1         1071
#define IDC_P2_RADIO_L2         1073
#define IDC_P2_RADIO_R2         1090
#define IDC_P2_RADIO_START      1091

#define IDC_P2_EDIT_UP          1036
#define IDC_P2_EDIT_DOWN        1037
#define IDC_P2_EDIT_LEFT        1038
#define IDC_P2_EDIT_RIGHT       1039
#define IDC_P2_EDIT_A           1040
#define IDC_P2_EDIT_B           1041
#define IDC_P2_EDIT_C           1042
#define IDC_P2_EDIT_X           1043
#define IDC_P2_EDIT_L1          1064
#define IDC_P2_EDIT_R1          1072
#define IDC_P2_EDIT_L2          1074
#define IDC_P2_EDIT_R2          1092
#define IDC_P2_EDIT_START       1093
