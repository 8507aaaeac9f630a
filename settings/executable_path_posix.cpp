// The native build runs only the portable core and its tests; loading and
// saving config.ini are Win32 code, so there is no config.ini to find here.
#include "settings/settings.h"

std::u16string executablePath() { return {}; }
