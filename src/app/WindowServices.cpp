#include "app/WindowServices.h"

#include "app/AppState.h"
#include "drawer/DrawerController.h"
#include "settings/SettingsWindow.h"

namespace WindowServices {

void provide(AppServices &services)
{
    services.makeDrawer = [](AppState &state) { return std::make_unique<DrawerController>(state); };
    services.makeSettingsWindow
        = [](AppState &state) { return std::make_unique<SettingsWindow>(state); };
}

} // namespace WindowServices
