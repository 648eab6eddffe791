// What the engine and the panel are given from the settings record: the runtime owns the record
// and hands its values on at each call.
#pragma once

#include "engine/ActiveLanguages.h"

namespace tessaline {

// Language0, Language1, AdaptiveVoc, FreqMax and FreqInc with the installation folder (which
// shows its message when Path is empty).
ActiveLanguageChoice ChosenLanguages();

// The active languages of the settings, then the interface texts of Locale. Without readFirst
// the first language too is read only when first asked for.
void LoadChosenLanguages(bool readFirst = true);

// The panel height for a width from the panel file and the active layout of the settings.
int ChosenPanelHeight(int width);

}  // namespace tessaline
