#pragma once

namespace vesko {

// Registers the program's embedded pictures and installs its stylesheet on the
// default screen: the look of a classic dialog (button-face background, sunken
// boxes) and the sizes the window description gives where the theme's minimum
// sizes are larger. Does its work once; later calls do nothing.
void install_program_resources();

} // namespace vesko
