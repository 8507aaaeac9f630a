#include <windows.h>

#include "app/main_window.h"
#include "settings/settings_file.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, PWSTR commandLine,
                    int showCommand) {
    // config.ini lives beside the executable.
    settings().configPath = configPathBeside(executablePath());
    Main main;
    return main.Run(instance, previousInstance, commandLine, showCommand);
}
