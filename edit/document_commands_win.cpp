#include "app/main_window.h"

bool Main::runDocumentCommand(WORD) { return false; }
