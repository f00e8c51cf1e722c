// Fixed control identifiers of the manager's dialogs: the manager window
// (template MAINWINDOW) and the message and acknowledgement editors
// (template CREATE). Plain #defines so that windres can read them too.
#ifndef QV_MANAGER_MANAGER_IDS_H
#define QV_MANAGER_MANAGER_IDS_H

// MAINWINDOW
#define IDC_MANAGER_CLEAR         100  // "Clear": empty the store
#define IDC_MANAGER_SAVE_AS       101  // "Save As... >>"
#define IDC_MANAGER_MESSAGE_LIST  102  // messages in the store
#define IDC_MANAGER_SEND          103  // "Send..." / "Send" (default button)
#define IDC_MANAGER_FILE_LIST     104  // .syx files of the current folder
#define IDC_MANAGER_INPUT_PORT    105  // MIDI input port drop-down list
#define IDC_MANAGER_OUTPUT_PORT   106  // MIDI output port drop-down list
#define IDC_MANAGER_OPEN          107  // "<< Open..." / "<< Open"
#define IDC_MANAGER_DELETE        109  // "Delete"
#define IDC_MANAGER_CREATE        111  // "Create" / "Edit"
#define IDC_MANAGER_HELP          150  // "Help"
#define IDC_MANAGER_ABOUT         151  // "About"
#define IDC_MANAGER_ACK           170  // "Ack" check box
#define IDC_MANAGER_LIBRARIAN    3000  // "Librarian..." / "Librarian"

// CREATE (message editor and acknowledgement editor)
#define IDC_CREATE_HEX_TEXT       400  // hexadecimal text field
#define IDC_CREATE_OK             111  // "OK" (default button)
#define IDC_CREATE_CANCEL         301  // "Cancel"
#define IDC_CREATE_HELP           150  // "Help"

#endif
