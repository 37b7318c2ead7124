// Resource ids of Zoomzap.exe, shared by the resource script and the code.
#pragma once

// Menu, shortcut table, icon and document strings of the main frame.
#define IDR_MAINFRAME 128

#define IDD_ABOUTBOX 100

// Strings.
#define IDP_OLE_INIT_FAILED 100
#define IDP_SOCKETS_INIT_FAILED 104
#define IDP_FAILED_TO_OPEN_DOC 105
#define IDP_FAILED_TO_SAVE_DOC 106
#define IDS_UNREGISTERED 107
#define IDP_NO_PRINTER 108
#define IDP_PRINT_FAILED 109
#define IDS_ALL_FILES_FILTER 110
#define IDP_UNREADABLE_PICTURES 111
#define IDP_UNREGISTER_FAILED 112
// The play surface's texts.
#define IDS_EXIT_HINT 113
#define IDS_NO_PICTURES 114
#define IDS_INVITATION 115
#define IDS_LOAD_PROGRESS 116
#define IDS_APP_TITLE 57344

// Commands of the program's own.
#define ID_VIEW_GUARD_MODE 32771
#define ID_SETTINGS 32773

// Standard commands that the menu and the shortcut table reach.
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_PRINT 57607
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_APP_ABOUT 57664
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
