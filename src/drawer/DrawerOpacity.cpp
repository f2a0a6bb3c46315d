#include "drawer/DrawerOpacity.h"

#include "app/AppState.h"

namespace DrawerOpacity {

double effective(const AppState &state)
{
    return state.highContrastMode() ? 1.0 : state.windowOpacity();
}

} // namespace DrawerOpacity
