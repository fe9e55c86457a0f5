#pragma once

#include <string>
#include <string_view>

// The user's guide in Chinese (HTML): what each calculator computes, how its window is reached,
// its inputs with their units and defaults, its results and its checks with their basis, taken
// from the calculators' descriptions; then the files, the keys and the headless calculator. The
// windows show it under 帮助 (F1), and the package installs it as guide.html.
std::string userGuide(std::string_view version);
