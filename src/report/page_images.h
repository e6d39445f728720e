#pragma once
#include <string>

// The folder of the images the pages and the desktop program show (icon_right.png,
// btn_open.png, kesto_logo.png): "Img" beside the running executable in a build, or
// share/tessaly/Img beside the bin folder it is installed in. Ends without a slash.
std::string PageImageFolder();
