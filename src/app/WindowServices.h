#pragma once

struct AppServices;

/// The UI library's part of the model's services: the drawer with its controller, and the
/// settings window.
namespace WindowServices {

/// Hands \a services the makers of the drawer and of the settings window.
void provide(AppServices &services);

} // namespace WindowServices
