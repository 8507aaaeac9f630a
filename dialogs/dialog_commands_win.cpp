// The commands that open the small dialogs.
#include "app/main_window.h"

bool Main::runDialogCommand(WORD) { return false; }
