#include <windows.h>

#include "app/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, PWSTR commandLine,
                    int showCommand) {
    Main main;
    return main.Run(instance, previousInstance, commandLine, showCommand);
}
