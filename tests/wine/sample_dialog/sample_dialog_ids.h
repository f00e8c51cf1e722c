#pragma once
// Control ids of the driver's sample dialog.
#define IDC_SAMPLE_LIST 101
#define IDC_SAMPLE_COMBO 102
#define IDC_SAMPLE_LIST_CHOICE 103
#define IDC_SAMPLE_COMBO_CHOICE 104
#define IDC_SAMPLE_ASK 105
#define IDC_SAMPLE_ANSWER 106
#define IDC_SAMPLE_CTRL 107
#define IDC_SAMPLE_GREETING 108
#define IDC_SAMPLE_EDIT 109
