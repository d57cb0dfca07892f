#pragma once

#include "volumelinepicker.h"

class QWidget;

namespace ravelin {

struct AppContext;

// Menu "Info Produits" › "Info n° Grumes" (the rights page "Liste stockage" is checked by the
// main window): the log inquiry info_grume.
void openLogInquiry(AppContext &context, QWidget *parent = nullptr);

} // namespace ravelin
