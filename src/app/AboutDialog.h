#pragma once
// The version box opened from the system menu; OK, Escape and the close
// box end it.
#include "framework/CDialog.h"

class AboutDialog : public CDialog {
public:
    AboutDialog();
};
