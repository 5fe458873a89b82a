// What the main menu opened, natively: "settings <system>" or "favorites <system>".
#pragma once

#include <string>
#include <vector>

extern std::vector<std::string> openedDialogs;
