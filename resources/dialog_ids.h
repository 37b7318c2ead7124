// Resource ids of the settings dialog and the dialogs it opens.
#pragma once

#define IDD_SETTINGS 130
#define IDD_ORDER 133
#define IDD_GROUP_SELECT 134
#define IDD_GROUP_PICK 135
#define IDD_SOUND_ASSIGN 136

// Settings dialog. Each radio pair has consecutive ids, the first button first.
#define IDC_GROWTH 1000
#define IDC_SPEED 1001
#define IDC_MAX_ZOOM 1002
#define IDC_ROTATION_OFF 1003
#define IDC_ROTATION_ON 1004
#define IDC_START_NORMAL 1005
#define IDC_START_FULL 1006
#define IDC_IMAGES_FOLDER 1008
#define IDC_ORDER 1010
#define IDC_GROUP_SELECT 1011
#define IDC_MOUSE_OFF 1012
#define IDC_MOUSE_ON 1013
#define IDC_SOUND_OFF 1014
#define IDC_SOUND_ON 1015
#define IDC_SOUNDS_FOLDER 1016
#define IDC_MAX_MEDIA_10 1017
#define IDC_MAX_MEDIA_100 1018
#define IDC_GROUP 1019
#define IDC_ASSIGN_SOUNDS 1020
#define IDC_DISPLAY_RANDOM 1024
#define IDC_DISPLAY_IN_ORDER 1025

// Sound assignment dialog.
#define IDC_ASSIGN 3
#define IDC_PICTURE_LIST 1009
#define IDC_SOUND_LIST 1027

// Image order dialog.
#define IDC_ORDER_LIST 1009

// Group selection dialog: radios by index, top to bottom.
#define IDC_GROUP_RADIO0 1020
#define IDC_GROUP_RADIO1 1021
#define IDC_GROUP_RADIO2 1022
#define IDC_GROUP_RADIO3 1023
#define IDC_GROUP_RADIO4 1007
#define IDC_GROUP_RADIO5 1008
#define IDC_GROUP_RADIO6 1009
#define IDC_GROUP_RADIO7 1010
#define IDC_GROUP_RADIO8 1011
#define IDC_GROUP_RADIO9 1012
#define IDC_GROUP_RADIO10 1024
#define IDC_GROUP_RADIO11 1025

// Start-up group picker: buttons by index, the button of digit key index + 1 (0 for the last).
#define IDC_PICK_BUTTON0 1008
#define IDC_PICK_BUTTON1 1016
#define IDC_PICK_BUTTON2 1010
#define IDC_PICK_BUTTON3 1011
#define IDC_PICK_BUTTON4 1009
#define IDC_PICK_BUTTON5 1012
#define IDC_PICK_BUTTON6 1013
#define IDC_PICK_BUTTON7 1014
#define IDC_PICK_BUTTON8 1015
#define IDC_PICK_BUTTON9 1017

// Texts of the dialogs; each %s is filled in by the dialog. String resources are stored in
// blocks of 16 ids: 208 to 223 is a block of its own, which the program's other string table
// (ids below 200) can never define a second time.
#define IDS_IMAGES_FOLDER_PROMPT 208
#define IDS_SOUNDS_FOLDER_PROMPT 209
#define IDS_SETTINGS_NOT_SAVED 210
#define IDS_SOUNDS_NOT_SAVED 211
#define IDS_GROUPS_SHARE_A_NAME 212
#define IDS_PICTURES_SHARE_AN_ORDER_NAME 213
#define IDS_PICTURES_SHARE_A_SOUND 214
#define IDS_SOUND_NAME_HAS_EQUALS 215
#define IDS_SOUND_NAME_STARTS_WITH_BRACKET 216
#define IDS_RANDOM_SOUND 217
#define IDS_NAME_LINE 218

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
