#include "toolkit/controls/splash_screen.h"

namespace {

// Modal mode 2: any press that no control takes closes the panel.
constexpr int32_t kCloseOnAnyPress = 2;

} // namespace

CCSplashScreen::CCSplashScreen(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t bitmapId,
                               CCPageObject* listener)
    : CCModalPanel(left, top, right, bottom, bitmapId, kCloseOnAnyPress, listener) {}
