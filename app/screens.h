#pragma once

// Plugs every screen that exists into the main window's buttons and menu items.
void RegisterScreens();
