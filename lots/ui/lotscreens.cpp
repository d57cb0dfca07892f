#include "lotscreens.h"

#include "loginquirydialog.h"
#include "modal.h"

namespace ravelin {

void openLogInquiry(AppContext &context, QWidget *parent)
{
    LogInquiryDialog dialog(context, parent);
    runModal(dialog);
}

} // namespace ravelin
