// What every start of the program does before the main window: the application's name and icon.
// main.cpp and the start-up benchmark share it, so that both start the program the same way.
#pragma once

void prepareApplication();
