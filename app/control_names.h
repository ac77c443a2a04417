// The main window's controls to assistive technology: names for the controls whose name is
// only in their picture or their place, and the order Tab takes through the main controls.
#pragma once

namespace tunova {

class CTunovaDlg;

// Names the controls (buttons with a tooltip are read by it) and sets the Tab order: the search
// box and its buttons, the results, the playlist and its buttons, then playback and volume.
void NameMainWindowControls(CTunovaDlg& window);

}  // namespace tunova
