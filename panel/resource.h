// Resource ids of padpanel.dll; the resource script and the code share them.
#pragma once

#define IDS_SHEET_CAPTION 1
#define IDS_TYPE_NAME_ERROR 2

#define IDI_PAD 108
#define IDI_LAMP_LIT 200
#define IDI_LAMP_DARK 201

#define IDD_TEST_PAGE 118
#define IDD_KEYBOARD_PAGE 120
#define IDD_POWER_PAGE 121
#define IDD_BUTTON_PAGE 123
#define IDD_CHECK_PAGE 124
#define IDD_ABOUT_PAGE 125
#define IDD_KEY_PROMPT 175
