#pragma once

#include "toolkit/controls/panel.h"

// The picture shown over the window while the program starts or from its About
// command: a panel (its background bitmap and edges) shown through the
// manager's showModal. Any press closes it, inside or outside, unless one of
// its own controls takes the press.
class CCSplashScreen : public CCModalPanel {
public:
    CCSplashScreen(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t bitmapId,
                   CCPageObject* listener = nullptr);
};
