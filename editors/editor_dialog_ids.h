// Resource numbers of the editors' dialogs, shared by the editors that
// create them and the program's resource script. Plain #defines only.
#pragma once

#define IDD_CARD_LAYOUT 2
#define IDD_SENDER_EDITOR 3
#define IDD_ADDRESSEE_LIST 4
#define IDD_ONE_LINE_EDITOR 5
