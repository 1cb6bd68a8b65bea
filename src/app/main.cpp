// Entry point: the start-up routine, then the exit routine.
#include "app/installer_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    CZYLMasterInstallerApp& app = TheApp();
    app.InitInstance();
    return app.ExitInstance();
}
