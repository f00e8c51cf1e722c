// Fixed control identifiers of the librarian's dialogs: the librarian window
// (template LIBRARIAN), the program name dialog (SAVEAS) and the instrument
// definition dialog (ENTERLIBRARIAN). Plain #defines so that windres can
// read them too.
#ifndef QV_LIBRARIAN_LIBRARIAN_IDS_H
#define QV_LIBRARIAN_LIBRARIAN_IDS_H

// LIBRARIAN
#define IDC_LIBRARIAN_CLEAR_NAMES   100  // "Clear names" (name extraction off)
#define IDC_LIBRARIAN_DELETE        109  // "Delete" the selected bank program
#define IDC_LIBRARIAN_HELP          150  // "Help"
#define IDC_LIBRARIAN_ABOUT         151  // "About"
#define IDC_LIBRARIAN_BANK_LIST    3000  // programs of the open bank (sorted)
#define IDC_LIBRARIAN_MANAGER      3001  // "Manager" / "Instrument..."
#define IDC_LIBRARIAN_DEVICE_LIST  3002  // programs on the instrument
#define IDC_LIBRARIAN_SAVE         3003  // "<< Save As..." / "<< Save"
#define IDC_LIBRARIAN_UPDATE       3004  // "Update" / "<< All" (name extraction on)
#define IDC_LIBRARIAN_BANK_CHOOSER 3005  // bank files, then "Create new bank file"
#define IDC_LIBRARIAN_EDITOR       3007  // "Editor"
#define IDC_LIBRARIAN_COPY         3015  // "Copy >>"

// SAVEAS (OK is IDOK, Cancel is IDCANCEL)
#define IDC_SAVEAS_NAME            3000  // program name field

// ENTERLIBRARIAN (OK is IDOK, Cancel is IDCANCEL)
#define IDC_DEFINITION_INPUT_PORT       105  // MIDI input port
#define IDC_DEFINITION_OUTPUT_PORT      106  // MIDI output port
#define IDC_DEFINITION_HELP             150  // "Help"
#define IDC_DEFINITION_AUTO_UPDATE     3000  // "Auto update" check box
#define IDC_DEFINITION_NOTES           3001  // notes (multi-line)
#define IDC_DEFINITION_CHANNEL         3002  // MIDI channel
#define IDC_DEFINITION_MODEL           3003  // definitions, then "Define new instrument"
#define IDC_DEFINITION_PROGRAM_SIZE    3004  // size in bytes of one program
#define IDC_DEFINITION_REQUEST         3005  // request string
#define IDC_DEFINITION_SEND            3006  // send string
#define IDC_DEFINITION_HIGHEST         3007  // highest program number
#define IDC_DEFINITION_LOWEST          3008  // lowest program number
#define IDC_DEFINITION_DISPLAY_OFFSET  3009  // program number offset
#define IDC_DEFINITION_NAME_EXTRACTION 3010  // name extraction check box
#define IDC_DEFINITION_NAME_OFFSETS    3012  // offsets of the name characters
#define IDC_DEFINITION_NAME_GROUP      3013  // "ASCII Program name grabbing"
#define IDC_DEFINITION_NAME_LABEL      3014  // "Offsets of characters"

#endif
